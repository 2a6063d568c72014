// How the main window looks: its controls, fonts, fixed geometry and menus.

#include "ui/main_window.h"

#include "runtime/runtime_timer.h"
#include "ui/count_spinner.h"
#include "ui/fonts.h"
#include "ui/object_names.h"
#include "ui/sentence_label.h"
#include "ui/spoken_notice.h"
#include "ui/twips.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QtMath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace velt {
namespace {

template <typename W>
W *control(QWidget *parent, const char *name, const QString &accessibleName)
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
    m_rouletteLabel = control<SentenceLabel>(client, names::kRouletteLabel, QStringLiteral("言霊"));
    m_rouletteLabel->setFont(fonts::gothic(20.25));
    m_rouletteLabel->setTextFormat(Qt::PlainText);
    m_rouletteLabel->setWordWrap(true);
    m_rouletteLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // People share the sentence: once the roulette stands still the mouse
    // selects it and its context menu copies it (all of it when nothing is
    // selected), yet it never takes the keyboard focus. A plain label's own
    // context menu only copies links.
    m_rouletteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_rouletteLabel->setFocusPolicy(Qt::NoFocus);
    m_rouletteLabel->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *copy = new QAction(QStringLiteral("コピー(&C)"), m_rouletteLabel);
    connect(copy, &QAction::triggered, m_rouletteLabel, [label = m_rouletteLabel] {
        QGuiApplication::clipboard()->setText(label->hasSelectedText() ? label->selectedText() : label->text());
    });
    auto *selectAll = new QAction(QStringLiteral("すべてを選択(&A)"), m_rouletteLabel);
    connect(selectAll, &QAction::triggered, m_rouletteLabel,
            [label = m_rouletteLabel] { label->setSelection(0, int(label->text().size())); });
    m_rouletteLabel->addActions({copy, selectAll});

    m_notice = new SpokenNotice(client);

    m_sentenceBox = control<QPlainTextEdit>(client, names::kSentenceBox, QStringLiteral("言霊の一覧"));
    m_sentenceBox->setReadOnly(true);
    m_sentenceBox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_sentenceBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_sentenceBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_sentenceBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_sentenceBox->setTabChangesFocus(true);

    m_showButton = control<QPushButton>(client, names::kShowButton, QStringLiteral("表示"));
    m_showButton->setText(QStringLiteral("表示"));
    m_showButton->setFont(fonts::gothic(18));

    m_countLabel = control<QLabel>(client, names::kCountLabel, QStringLiteral("表示する行数"));
    m_countLabel->setText(QStringLiteral("表示する行数"));

    m_countBox = control<QLineEdit>(client, names::kCountBox, QStringLiteral("表示する行数"));
    m_countLabel->setBuddy(m_countBox); // screen readers tie the label to the box
    m_countBox->setReadOnly(true);
    m_countBox->setText(QStringLiteral("20"));
    QPalette menuColours = m_countBox->palette();
    menuColours.setColor(QPalette::Base, menuColours.color(QPalette::Window));
    menuColours.setColor(QPalette::Text, Qt::black);
    m_countBox->setPalette(menuColours);

    m_countSpinner = control<CountSpinner>(client, names::kCountSpinner, QStringLiteral("表示する行数を増減"));
    m_countSpinner->setRange(10, 2000);
    m_countSpinner->setSingleStep(10);
    m_countSpinner->setPageStep(1);
    m_countSpinner->setValue(20);
    m_countSpinner->setFocusPolicy(Qt::StrongFocus);

    m_spinButton = control<QPushButton>(client, names::kSpinButton, QStringLiteral("言霊ルーレット"));
    m_spinButton->setText(QStringLiteral("言霊ルーレット"));
    m_nextButton = control<QPushButton>(client, names::kNextButton, QStringLiteral("次の言霊"));
    m_nextButton->setText(QStringLiteral("次の言霊"));
    m_stopButton = control<QPushButton>(client, names::kStopButton, QStringLiteral("止"));
    m_stopButton->setText(QStringLiteral("止"));
    for (QPushButton *roulette : {m_spinButton, m_nextButton, m_stopButton})
        roulette->hide();

    m_placeholderTimer = new RuntimeTimer(this);
    m_placeholderTimer->setObjectName(QLatin1StringView(names::kPlaceholderTimer));
    m_batchTimer = new RuntimeTimer(this);
    m_batchTimer->setObjectName(QLatin1StringView(names::kBatchTimer));
    m_rouletteTimer = new RuntimeTimer(this);
    m_rouletteTimer->setObjectName(QLatin1StringView(names::kRouletteTimer));

    setTabOrder(m_sentenceBox, m_showButton);
    setTabOrder(m_showButton, m_countBox);
    setTabOrder(m_countBox, m_countSpinner);
    setTabOrder(m_countSpinner, m_spinButton);
    setTabOrder(m_spinButton, m_nextButton);
    setTabOrder(m_nextButton, m_stopButton);

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
        {m_sentenceBox, twips::rect(0, 0, 7095, 4215)},
        {m_showButton, twips::rect(0, 4200, 1095, 615)},
        {m_countLabel, twips::rect(1200, 4560, 1095, 255)},
        {m_countBox, twips::rect(2280, 4560, 495, 270)},
        {m_countSpinner, twips::rect(2760, 4560, 255, 255)},
        {m_rouletteLabel, twips::rect(120, 1560, 6855, 2055)},
        {m_spinButton, twips::rect(480, 4440, 1455, 375)},
        {m_nextButton, twips::rect(6000, 4440, 1095, 375)},
        {m_stopButton, twips::rect(0, 4440, 495, 375)},
    };
    for (const Place &place : places)
        place.widget->setGeometry(place.rect);
    centralWidget()->setFixedSize(twips::size(7095, 4830));
    // The window takes exactly the size its menu bar and client area need,
    // and the user cannot drag it larger or smaller.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// At 125 % or 150 % a logical pixel is not a whole number of the screen's,
// and the controls along the client area's lower edge lost their last row
// there: the client area began between two of the screen's pixels, below a
// menu bar of 34.5 of them, and the window ended inside its last row. The
// menu bar is made as tall as a whole number of the screen's pixels, and
// where the client area's height is not one, the window gets one more
// logical pixel below it. At 100 % and 200 % nothing changes.
void MainWindow::fitToDevicePixels()
{
    const qreal ratio = devicePixelRatio();
    const auto whole = [ratio](int logical) {
        const qreal device = logical * ratio;
        return qFuzzyCompare(device, qreal(qRound(device)));
    };
    QMenuBar *bar = menuBar();
    bar->setMinimumHeight(0);
    bar->setMaximumHeight(QWIDGETSIZE_MAX);
    int height = bar->sizeHint().height();
    for (int extra = 0; extra < 4 && !whole(height); ++extra)
        ++height;
    bar->setFixedHeight(whole(height) ? height : bar->sizeHint().height());
    layout()->setContentsMargins(0, 0, 0, whole(centralWidget()->height()) ? 0 : 1);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    const auto named = [](auto *item, const char *name) {
        item->setObjectName(QLatin1StringView(name));
        return item;
    };

    QMenu *file = named(bar->addMenu(QStringLiteral("ファイル(&F)")), names::kFileMenu);
    m_saveAction = named(file->addAction(QStringLiteral("「velt.txt」として保存(&S)"), this, &MainWindow::save),
                         names::kSaveAction);
    named(file->addAction(QStringLiteral("終了(&E)"), this, &MainWindow::quit), names::kQuitAction);

    QMenu *mode = named(bar->addMenu(QStringLiteral("モード(&M)")), names::kModeMenu);
    named(mode->addAction(QStringLiteral("複数行式モード"), this, &MainWindow::enterMultiLineMode),
          names::kMultiLineModeAction);
    named(mode->addAction(QStringLiteral("言霊式モード"), this, &MainWindow::enterRouletteMode),
          names::kRouletteModeAction);

    // Never enabled: the program it stood for has no part here.
    named(bar->addAction(QStringLiteral("キャラクタ編集(&E)")), names::kCharacterEditAction)->setEnabled(false);
    named(bar->addAction(QStringLiteral("バージョン情報(&I)"), this, &MainWindow::showAbout), names::kAboutAction);
}

} // namespace velt
