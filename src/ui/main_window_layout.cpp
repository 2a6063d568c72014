// How the main window looks: its controls, fonts, fixed geometry and menus.

#include "ui/main_window.h"

#include "runtime/runtime_timer.h"
#include "ui/twips.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace velt {
namespace {

// The design asks for "ＭＳ Ｐゴシック"; where it is missing, the nearest
// proportional Japanese gothic faces stand in.
QFont gothic(qreal points)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("VL PGothic"), QStringLiteral("sans-serif")});
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

template <typename W>
W *named(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1StringView(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

void MainWindow::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // Created first so that it lies beneath every other control: the output
    // box covers it in multi-line mode.
    m_label2 = named<QLabel>(client, "Label2", QStringLiteral("言霊"));
    m_label2->setFont(gothic(20.25));
    m_label2->setTextFormat(Qt::PlainText);
    m_label2->setWordWrap(true);
    m_label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_veltbox = named<QPlainTextEdit>(client, "veltbox", QStringLiteral("言霊の一覧"));
    m_veltbox->setReadOnly(true);
    m_veltbox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_veltbox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_veltbox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_veltbox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_veltbox->setTabChangesFocus(true);

    m_command1 = named<QPushButton>(client, "Command1", QStringLiteral("表示"));
    m_command1->setText(QStringLiteral("表示"));
    m_command1->setFont(gothic(18));

    m_label1 = named<QLabel>(client, "Label1", QStringLiteral("表示する行数"));
    m_label1->setText(QStringLiteral("表示する行数"));

    m_text2 = named<QLineEdit>(client, "Text2", QStringLiteral("表示する行数"));
    m_text2->setReadOnly(true);
    m_text2->setText(QStringLiteral("20"));
    QPalette menuColours = m_text2->palette();
    menuColours.setColor(QPalette::Base, menuColours.color(QPalette::Window));
    menuColours.setColor(QPalette::Text, Qt::black);
    m_text2->setPalette(menuColours);

    m_vscroll1 = named<QScrollBar>(client, "VScroll1", QStringLiteral("表示する行数を増減"));
    m_vscroll1->setOrientation(Qt::Vertical);
    m_vscroll1->setRange(10, 2000);
    m_vscroll1->setSingleStep(10);
    m_vscroll1->setPageStep(1);
    m_vscroll1->setValue(20);
    m_vscroll1->setFocusPolicy(Qt::StrongFocus);

    m_command2 = named<QPushButton>(client, "Command2", QStringLiteral("言霊ルーレット"));
    m_command2->setText(QStringLiteral("言霊ルーレット"));
    m_command3 = named<QPushButton>(client, "Command3", QStringLiteral("次の言霊"));
    m_command3->setText(QStringLiteral("次の言霊"));
    m_command4 = named<QPushButton>(client, "Command4", QStringLiteral("止"));
    m_command4->setText(QStringLiteral("止"));
    for (QPushButton *roulette : {m_command2, m_command3, m_command4})
        roulette->hide();

    m_timer1 = new RuntimeTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer2 = new RuntimeTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer3 = new RuntimeTimer(this);
    m_timer3->setObjectName(QStringLiteral("Timer3"));

    setTabOrder(m_veltbox, m_command1);
    setTabOrder(m_command1, m_text2);
    setTabOrder(m_text2, m_vscroll1);
    setTabOrder(m_vscroll1, m_command2);
    setTabOrder(m_command2, m_command3);
    setTabOrder(m_command3, m_command4);

    placeControls();
}

void MainWindow::placeControls()
{
    struct Place
    {
        QWidget *widget;
        QRect rect;
    };
    const Place places[] = {
        {m_veltbox, twips::rect(0, 0, 7095, 4215)},
        {m_command1, twips::rect(0, 4200, 1095, 615)},
        {m_label1, twips::rect(1200, 4560, 1095, 255)},
        {m_text2, twips::rect(2280, 4560, 495, 270)},
        {m_vscroll1, twips::rect(2760, 4560, 255, 255)},
        {m_label2, twips::rect(120, 1560, 6855, 2055)},
        {m_command2, twips::rect(480, 4440, 1455, 375)},
        {m_command3, twips::rect(6000, 4440, 1095, 375)},
        {m_command4, twips::rect(0, 4440, 495, 375)},
    };
    for (const Place &place : places)
        place.widget->setGeometry(place.rect);
    centralWidget()->setFixedSize(twips::size(7095, 4830));
    // The window takes exactly the size its menu bar and client area need,
    // and the user cannot drag it larger or smaller.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();

    m_file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    m_file->setObjectName(QStringLiteral("file"));
    m_velts = m_file->addAction(QStringLiteral("「velt.txt」として保存(&S)"));
    m_velts->setObjectName(QStringLiteral("velts"));
    m_end = m_file->addAction(QStringLiteral("終了(&E)"));
    m_end->setObjectName(QStringLiteral("end"));

    m_modex = bar->addMenu(QStringLiteral("モード(&M)"));
    m_modex->setObjectName(QStringLiteral("modex"));
    m_mode1 = m_modex->addAction(QStringLiteral("複数行式モード"));
    m_mode1->setObjectName(QStringLiteral("mode1"));
    m_mode2 = m_modex->addAction(QStringLiteral("言霊式モード"));
    m_mode2->setObjectName(QStringLiteral("mode2"));

    m_edit = bar->addAction(QStringLiteral("キャラクタ編集(&E)"));
    m_edit->setObjectName(QStringLiteral("edit"));
    m_edit->setEnabled(false);

    m_info = bar->addAction(QStringLiteral("バージョン情報(&I)"));
    m_info->setObjectName(QStringLiteral("info"));
}

} // namespace velt
