#include "ui/about_window.h"

#include "ui/app_title.h"
#include "version.h"
#include "ui/twips.h"
#include "os/system_information.h"
#include "ui/about_instance.h"
#include "ui/about_texts.h"
#include "ui/fixed_pitch_label.h"
#include "ui/fonts.h"
#include "ui/message_reporter.h"
#include "ui/object_names.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include <exception>

namespace velt {
namespace {

// The window as designed, in twips from the client area's top-left corner.
namespace design {

constexpr QPoint kScreenPosition = twips::point(2340, 1935);
constexpr QSize kClient = twips::size(5730, 2550);

constexpr QRect kIconArea = twips::rect(240, 240, 540, 540);
constexpr QRect kTitleLabel = twips::rect(1050, 240, 3885, 480);
constexpr QRect kVersionLabel = twips::rect(1050, 780, 3885, 225);
constexpr QRect kDescriptionLabel = twips::rect(1050, 1125, 3885, 450);
constexpr QRect kDisclaimerLabel = twips::rect(240, 1800, 3870, 585);
constexpr QRect kOkButton = twips::rect(4320, 1800, 1380, 345);
constexpr QRect kSystemInformationButton = twips::rect(4320, 2160, 1380, 345);

// The separator between description and disclaimer: Line1(0), white and two
// pixels wide, with Line1(1), grey and one pixel wide, drawn over its top
// row, which leaves an etched groove.
struct Line
{
    QPoint from;
    QPoint to;
    int width;
    QRgb colour;
};
constexpr Line kSeparator[] = {
    {twips::point(105, 1680), twips::point(5654, 1680), 2, qRgb(255, 255, 255)},
    {twips::point(120, 1680), twips::point(5684, 1680), 1, qRgb(128, 128, 128)},
};

} // namespace design

QLabel *addLabel(QWidget *parent, const char *name, const QRect &geometry, bool blackText)
{
    auto *label = new FixedPitchLabel(parent);
    label->setObjectName(QLatin1StringView(name));
    label->setGeometry(geometry);
    if (blackText) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

QPushButton *addButton(QWidget *parent, const char *name, const QRect &geometry, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1StringView(name));
    button->setGeometry(geometry);
    return button;
}

void addLine(QWidget *parent, const char *name, const design::Line &line)
{
    auto *widget = new QWidget(parent);
    widget->setObjectName(QLatin1StringView(name));
    widget->setGeometry(line.from.x(), line.from.y(), line.to.x() - line.from.x(), line.width);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(line.colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

AboutWindow::AboutWindow(SystemInformation &system, MessageReporter &reporter)
    : QDialog(nullptr)
    , m_system(system)
    , m_reporter(reporter)
{
    setObjectName(QLatin1StringView(names::kAboutWindow));
    // A tool window has no task-bar button of its own. Without a parent it
    // would not keep the program running either; this one must, so that
    // closing the main window leaves it open.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_QuitOnClose, true);
    // Unloading destroys the window and its controls; the next request
    // loads a new one.
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(fonts::aboutWindow());

    QPoint screenOrigin;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        screenOrigin = screen->geometry().topLeft();
    setGeometry(QRect(screenOrigin + design::kScreenPosition, design::kClient));
    setFixedSize(design::kClient);

    buildControls();
    load();
}

void AboutWindow::showInstance()
{
    AboutInstance::program().show();
}

QString AboutWindow::unavailableMessage()
{
    return QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
}

void AboutWindow::startSystemInformation()
{
    try {
        if (const std::optional<QString> program = m_system.locate(); program && m_system.start(*program))
            return;
    } catch (const std::exception &) {
        // An error anywhere on the way is one more way of being unavailable;
        // the message does not tell the ways apart.
    }
    m_reporter.report(unavailableMessage(), this);
}

void AboutWindow::buildControls()
{
    auto *icon = new QLabel(this);
    icon->setObjectName(QLatin1StringView(names::kIconPicture));
    icon->setGeometry(design::kIconArea);
    icon->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/about-32.png")));
    icon->setAccessibleName(QStringLiteral("アイコン"));

    m_titleLabel = addLabel(this, names::kTitleLabel, design::kTitleLabel, true);
    m_titleLabel->setFont(fonts::title());
    m_versionLabel = addLabel(this, names::kVersionLabel, design::kVersionLabel, false);
    addLabel(this, names::kDescriptionLabel, design::kDescriptionLabel, true)
        ->setText(QString::fromUtf16(about_texts::kDescription));
    addLabel(this, names::kDisclaimerLabel, design::kDisclaimerLabel, true)
        ->setText(QString::fromUtf16(about_texts::kDisclaimer));

    addLine(this, names::kSeparatorWhite, design::kSeparator[0]);
    addLine(this, names::kSeparatorGrey, design::kSeparator[1]);

    // Created in focus order: OK first, so the window opens with the focus
    // on it and Enter closes rather than launches.
    m_okButton = addButton(this, names::kOkButton, design::kOkButton, QString::fromUtf16(about_texts::kOkButton));
    m_okButton->setDefault(true);
    auto *systemInformationButton = addButton(this, names::kSystemInformationButton, design::kSystemInformationButton,
                                 QString::fromUtf16(about_texts::kSystemInformationButton));
    setTabOrder(m_okButton, systemInformationButton);
    m_okButton->setFocus();

    // Esc and the title bar's close button reject the dialog, which unloads
    // it just as "OK" does.
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(systemInformationButton, &QPushButton::clicked, this, &AboutWindow::startSystemInformation);
}

void AboutWindow::load()
{
    const QString title = QString::fromUtf16(kAppTitle);
    setWindowTitle(about_texts::caption(title));
    m_versionLabel->setText(about_texts::versionLabel(version::kMajor, version::kMinor, version::kRevision));
    m_titleLabel->setText(title);
}

} // namespace velt
