#include "mainwindow.h"

#include "hosttext.h"

#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QStatusBar>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStackedLayout>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vexademo {

// The screens of the project drawn to scale, each with its name and size.
class ScreenView : public QWidget
{
public:
    explicit ScreenView(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("screenView"));
        setAttribute(Qt::WA_StyledBackground);
        setMinimumHeight(220);
    }

    void setScreens(const QVector<DemoScreen>& screens, const QVector<DemoMedia>& media)
    {
        screens_ = screens;
        usedMedia_ = 0;
        for (const DemoMedia& m : media)
            usedMedia_ += m.used ? 1 : 0;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QWidget::paintEvent(event);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).adjusted(32, 28, -32, -44);
        QRectF bounds;
        for (const DemoScreen& s : screens_)
            bounds |= QRectF(s.x, s.y, s.width, s.height);
        if (bounds.isEmpty() || area.isEmpty())
            return;
        const qreal scale = std::min(area.width() / bounds.width(), area.height() / bounds.height());
        const QPointF origin(area.center().x() - bounds.width() * scale / 2,
                             area.center().y() - bounds.height() * scale / 2);
        static const QColor colours[] = {QColor(0x3d, 0x8b, 0xfd), QColor(0x2e, 0xc4, 0xa0), QColor(0xff, 0x9f, 0x2e),
                                         QColor(0xc0, 0x6b, 0xff)};
        int index = 0;
        for (const DemoScreen& s : screens_) {
            QRectF r(origin.x() + (s.x - bounds.x()) * scale, origin.y() + (s.y - bounds.y()) * scale, s.width * scale,
                     s.height * scale);
            r.adjust(6, 0, -6, 0);
            const QColor c = colours[index % 4];
            QLinearGradient fill(r.topLeft(), r.bottomRight());
            fill.setColorAt(0, c.darker(230));
            fill.setColorAt(1, c.darker(420));
            QPainterPath path;
            path.addRoundedRect(r, 6, 6);
            p.fillPath(path, fill);
            p.setPen(QPen(c, 1.5));
            p.drawPath(path);
            // LED dot pattern, faint.
            p.setPen(Qt::NoPen);
            QColor dot = c;
            dot.setAlphaF(0.18);
            p.setBrush(dot);
            for (qreal y = r.top() + 8; y < r.bottom() - 4; y += 10)
                for (qreal x = r.left() + 8; x < r.right() - 4; x += 10)
                    p.drawEllipse(QPointF(x, y), 1.3, 1.3);
            QFont font = p.font();
            font.setPixelSize(15);
            font.setBold(true);
            p.setFont(font);
            p.setPen(QColor(0xf2, 0xf5, 0xfa));
            p.drawText(r.adjusted(12, 10, -12, -10), Qt::AlignLeft | Qt::AlignTop, s.name);
            font.setBold(false);
            font.setPixelSize(12);
            p.setFont(font);
            p.setPen(QColor(0xb8, 0xc3, 0xd6));
            p.drawText(r.adjusted(12, 10, -12, -10), Qt::AlignLeft | Qt::AlignBottom,
                       QStringLiteral("%1 \u00d7 %2").arg(s.width).arg(s.height));
            ++index;
        }
    }

private:
    QVector<DemoScreen> screens_;
    int usedMedia_ = 0;
};

DemoMainWindow::DemoMainWindow(QWidget* parent) : FramelessMainWindow(parent)
{
    setObjectName(QStringLiteral("hostWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/vexademo/theme/app_icon.svg")));
    resize(1280, 800);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("hostCentral"));
    central->setAttribute(Qt::WA_StyledBackground);
    setCentralWidget(central);
    auto* root = new QVBoxLayout(central);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    root->addWidget(createTitleBar(central));
    root->addWidget(createActionRow(central));
    // Body: the project, or a hint when none is open.
    auto* body = new QWidget(central);
    auto* stack = new QStackedLayout(body);
    root->addWidget(body, 1);
    stack->addWidget(createEmptyPane(body));
    stack->addWidget(createProjectPane(body));

    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    retranslate();
    showProject(std::nullopt, QString(), false);
}

// Title bar: logo, title, window buttons. The window is dragged by it.
QWidget* DemoMainWindow::createTitleBar(QWidget* central)
{
    auto* titleBar = new QWidget(central);
    titleBar->setObjectName(QStringLiteral("hostTitleBar"));
    titleBar->setAttribute(Qt::WA_StyledBackground);
    titleBar->setFixedHeight(40);
    auto* titleRow = new QHBoxLayout(titleBar);
    titleRow->setContentsMargins(12, 0, 6, 0);
    titleRow->setSpacing(8);
    auto* logo = new QLabel(titleBar);
    logo->setObjectName(QStringLiteral("hostLogo"));
    logo->setFixedSize(22, 22);
    title_ = new QLabel(titleBar);
    title_->setObjectName(QStringLiteral("hostTitle"));
    minimizeButton_ = new QToolButton(titleBar);
    minimizeButton_->setObjectName(QStringLiteral("windowButton"));
    minimizeButton_->setIcon(QIcon(QStringLiteral(":/vexademo/theme/win_min.svg")));
    closeButton_ = new QToolButton(titleBar);
    closeButton_->setObjectName(QStringLiteral("windowCloseButton"));
    closeButton_->setIcon(QIcon(QStringLiteral(":/vexademo/theme/win_close.svg")));
    for (QToolButton* b : {minimizeButton_, closeButton_}) {
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(32, 28);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(minimizeButton_, &QToolButton::clicked, this, &QWidget::showMinimized);
    connect(closeButton_, &QToolButton::clicked, this, &DemoMainWindow::quitRequested);
    titleRow->addWidget(logo);
    titleRow->addWidget(title_);
    titleRow->addStretch(1);
    titleRow->addWidget(minimizeButton_);
    titleRow->addWidget(closeButton_);
    return titleBar;

}

QWidget* DemoMainWindow::createActionRow(QWidget* central)
{
    auto* actions = new QWidget(central);
    auto* actionRow = new QHBoxLayout(actions);
    actionRow->setContentsMargins(12, 8, 12, 8);
    actionRow->setSpacing(4);
    newButton_ = addAction(QStringLiteral("new"));
    openButton_ = addAction(QStringLiteral("open"));
    saveButton_ = addAction(QStringLiteral("save"));
    saveAsButton_ = addAction(QStringLiteral("saveas"));
    addMediaButton_ = addAction(QStringLiteral("addmedia"));
    packageButton_ = addAction(QStringLiteral("package"));
    startButton_ = addAction(QStringLiteral("home"));
    languageButton_ = addAction(QStringLiteral("language"));
    quitButton_ = addAction(QStringLiteral("quit"));
    for (QToolButton* b : {newButton_, openButton_, saveButton_, saveAsButton_, addMediaButton_, packageButton_, startButton_})
        actionRow->addWidget(b);
    actionRow->addStretch(1);
    actionRow->addWidget(languageButton_);
    actionRow->addWidget(quitButton_);

    languageMenu_ = new QMenu(languageButton_);
    languageButton_->setMenu(languageMenu_);
    languageButton_->setPopupMode(QToolButton::InstantPopup);
    QAction* english = languageMenu_->addAction(QStringLiteral("English"));
    english->setData(QStringLiteral("en"));
    QAction* chinese = languageMenu_->addAction(QStringLiteral("\u7b80\u4f53\u4e2d\u6587"));
    chinese->setData(QStringLiteral("zh_CN"));
    for (QAction* a : {english, chinese}) {
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, a] { Q_EMIT languageRequested(a->data().toString()); });
    }

    bindKey(newButton_, QKeySequence::New);
    bindKey(openButton_, QKeySequence::Open);
    bindKey(saveButton_, QKeySequence::Save);
    // Some desktops bind nothing to Save As.
    bindKey(saveAsButton_, QKeySequence::SaveAs, QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    bindKey(quitButton_, QKeySequence::Quit);
    // No desktop has a standard key for it; a keyboard user packages with this one.
    bindKey(packageButton_, QKeySequence::UnknownKey, QKeySequence(QStringLiteral("Ctrl+Shift+P")));

    connect(newButton_, &QToolButton::clicked, this, &DemoMainWindow::newRequested);
    connect(openButton_, &QToolButton::clicked, this, &DemoMainWindow::openRequested);
    connect(saveButton_, &QToolButton::clicked, this, &DemoMainWindow::saveRequested);
    connect(saveAsButton_, &QToolButton::clicked, this, &DemoMainWindow::saveAsRequested);
    connect(packageButton_, &QToolButton::clicked, this, &DemoMainWindow::packageRequested);
    connect(addMediaButton_, &QToolButton::clicked, this, &DemoMainWindow::addMediaRequested);
    connect(startButton_, &QToolButton::clicked, this, &DemoMainWindow::startPageRequested);
    connect(quitButton_, &QToolButton::clicked, this, &DemoMainWindow::quitRequested);

    return actions;
}

QWidget* DemoMainWindow::createEmptyPane(QWidget* parent)
{
    emptyPane_ = new QWidget(parent);
    auto* emptyLayout = new QVBoxLayout(emptyPane_);
    emptyLayout->addStretch(1);
    emptyTitle_ = new QLabel(emptyPane_);
    emptyTitle_->setObjectName(QStringLiteral("emptyProject"));
    emptyTitle_->setAlignment(Qt::AlignCenter);
    emptyHint_ = new QLabel(emptyPane_);
    emptyHint_->setObjectName(QStringLiteral("projectMeta"));
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyLayout->addWidget(emptyTitle_);
    emptyLayout->addWidget(emptyHint_);
    emptyLayout->addStretch(1);
    return emptyPane_;

}

QWidget* DemoMainWindow::createProjectPane(QWidget* parent)
{
    projectPane_ = new QWidget(parent);
    auto* pane = new QVBoxLayout(projectPane_);
    pane->setContentsMargins(20, 8, 20, 16);
    pane->setSpacing(12);

    auto* header = new QWidget(projectPane_);
    header->setObjectName(QStringLiteral("projectHeader"));
    header->setAttribute(Qt::WA_StyledBackground);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(18, 14, 18, 14);
    headerLayout->setSpacing(6);
    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(10);
    projectName_ = new QLabel(header);
    projectName_->setObjectName(QStringLiteral("projectName"));
    projectName_->setTextFormat(Qt::PlainText);
    modifiedBadge_ = new QLabel(header);
    modifiedBadge_->setObjectName(QStringLiteral("modifiedBadge"));
    nameRow->addWidget(projectName_);
    nameRow->addWidget(modifiedBadge_, 0, Qt::AlignVCenter);
    nameRow->addStretch(1);
    projectMeta_ = new QLabel(header);
    projectMeta_->setObjectName(QStringLiteral("projectMeta"));
    projectPath_ = new QLabel(header);
    projectPath_->setObjectName(QStringLiteral("projectMeta"));
    projectPath_->setTextFormat(Qt::PlainText);
    projectPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    headerLayout->addLayout(nameRow);
    headerLayout->addWidget(projectMeta_);
    headerLayout->addWidget(projectPath_);
    pane->addWidget(header);

    screensTitle_ = new QLabel(projectPane_);
    screensTitle_->setObjectName(QStringLiteral("sectionTitle"));
    pane->addWidget(screensTitle_);
    screenView_ = new ScreenView(projectPane_);
    pane->addWidget(screenView_, 3);

    mediaTitle_ = new QLabel(projectPane_);
    mediaTitle_->setObjectName(QStringLiteral("sectionTitle"));
    pane->addWidget(mediaTitle_);
    mediaTable_ = new QTableWidget(projectPane_);
    mediaTable_->setObjectName(QStringLiteral("mediaTable"));
    mediaTable_->setColumnCount(4);
    mediaTable_->setAlternatingRowColors(true);
    mediaTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    mediaTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mediaTable_->setShowGrid(false);
    mediaTable_->verticalHeader()->hide();
    mediaTable_->horizontalHeader()->setHighlightSections(false);
    mediaTable_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mediaTable_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    mediaTable_->setColumnWidth(0, 72);
    mediaTable_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    mediaTable_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    mediaTable_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    mediaTable_->verticalHeader()->setDefaultSectionSize(30);
    pane->addWidget(mediaTable_, 2);
    return projectPane_;

}

DemoMainWindow::~DemoMainWindow() = default;

QToolButton* DemoMainWindow::addAction(const QString& icon)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("hostAction"));
    button->setIcon(QIcon(QStringLiteral(":/vexademo/theme/icon_%1.svg").arg(icon)));
    button->setIconSize(QSize(20, 20));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void DemoMainWindow::bindKey(QToolButton* button, QKeySequence::StandardKey key, const QKeySequence& fallback)
{
    auto* action = new QAction(this);
    action->setShortcuts(key);
    if (action->shortcuts().isEmpty() && !fallback.isEmpty())
        action->setShortcut(fallback);
    // click() does nothing on a disabled button: Save without a project stays a no-op.
    connect(action, &QAction::triggered, button, &QToolButton::click);
    QWidget::addAction(action);
    keys_.emplace_back(button, action->shortcut());
}

void DemoMainWindow::retranslate()
{
    newButton_->setText(ht("New"));
    openButton_->setText(ht("Open"));
    saveButton_->setText(ht("Save"));
    saveAsButton_->setText(ht("SaveAs"));
    packageButton_->setText(ht("Package"));
    addMediaButton_->setText(ht("AddMedia"));
    startButton_->setText(ht("StartPage"));
    languageButton_->setText(ht("Language"));
    quitButton_->setText(ht("Quit"));
    for (QToolButton* b : {newButton_, openButton_, saveButton_, saveAsButton_, addMediaButton_, packageButton_,
                           startButton_, languageButton_, quitButton_})
        b->setToolTip(b->text());
    for (const auto& [button, sequence] : keys_) {
        if (!sequence.isEmpty())
            button->setToolTip(QStringLiteral("%1 (%2)").arg(button->text(),
                                                             sequence.toString(QKeySequence::NativeText)));
    }
    startButton_->setToolTip(ht("StartPageTip"));
    minimizeButton_->setToolTip(ht("Minimize"));
    closeButton_->setToolTip(ht("Quit"));
    // Icons only: a screen reader reads these names.
    minimizeButton_->setAccessibleName(ht("Minimize"));
    closeButton_->setAccessibleName(ht("Quit"));
    emptyTitle_->setText(ht("NoProject"));
    emptyHint_->setText(ht("NoProjectHint"));
    screensTitle_->setText(ht("Screens"));
    mediaTitle_->setText(ht("Media"));
    modifiedBadge_->setText(ht("Unsaved"));
    mediaTable_->setHorizontalHeaderLabels({ht("MediaUsed"), ht("MediaName"), ht("MediaSize"), ht("MediaLocation")});
    mediaTable_->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignCenter);
    if (statusText_)
        status_->setText(statusText_());
    showProject(project_, path_, modified_);
}

void DemoMainWindow::setCurrentLanguage(const QString& code)
{
    language_ = code;
    for (QAction* a : languageMenu_->actions())
        a->setChecked(a->data().toString() == code);
}

void DemoMainWindow::showStatus(const QString& text, bool warning)
{
    statusText_ = nullptr;
    status_->setStyleSheet(warning ? QStringLiteral("color: #ffb454;") : QString());
    status_->setText(text);
}

void DemoMainWindow::showStatus(std::function<QString()> text, bool warning)
{
    status_->setStyleSheet(warning ? QStringLiteral("color: #ffb454;") : QString());
    status_->setText(text ? text() : QString());
    statusText_ = std::move(text);
}

void DemoMainWindow::updateActions()
{
    const bool open = project_.has_value();
    saveButton_->setEnabled(open);
    saveAsButton_->setEnabled(open);
    packageButton_->setEnabled(open);
    addMediaButton_->setEnabled(open);
}

void DemoMainWindow::showProject(const std::optional<DemoProject>& project, const QString& path, bool modified)
{
    project_ = project;
    path_ = path;
    modified_ = modified;
    auto* stack = static_cast<QStackedLayout*>(projectPane_->parentWidget()->layout());
    updateActions();
    // Qt's marker: "[*]" shows as "*" while the project has unsaved changes.
    setWindowTitle(project ? QStringLiteral("%1[*] \u2014 %2").arg(project->name, ht("AppTitle")) : ht("AppTitle"));
    setWindowModified(project && modified);
    // The title bar is drawn by the window itself: it shows the same.
    title_->setText(windowTitle().replace(QStringLiteral("[*]"), modified ? QStringLiteral("*") : QString()));
    if (!project) {
        stack->setCurrentWidget(emptyPane_);
        return;
    }
    stack->setCurrentWidget(projectPane_);
    projectName_->setText(project->name);
    modifiedBadge_->setVisible(modified);

    const quint64 total = totalMediaSize(path, *project, true);
    // The template's name already says how many screens it has; the count
    // is only news when the project's screens differ from it.
    QStringList meta{ht(templateName(project->templateType).toLatin1().constData())};
    if (project->screens.size() != templateScreenCount(project->templateType))
        meta << (project->screens.size() == 1 ? ht("OneScreen") : ht("ScreenCount").arg(project->screens.size()));
    meta << ht("MediaSummary").arg(project->media.size()).arg(humanSize(total))
         << QStringLiteral("%1 %2").arg(ht("LastSaved"), displayTime(project->modified));
    projectMeta_->setText(meta.join(QStringLiteral("  \u00b7  ")));
    projectPath_->setText(QDir::toNativeSeparators(path));
    screenView_->setScreens(project->screens, project->media);

    filling_ = true;
    mediaTable_->setRowCount(project->media.size());
    for (int row = 0; row < project->media.size(); ++row) {
        const DemoMedia& m = project->media[row];
        auto* holder = new QWidget(mediaTable_);
        auto* holderLayout = new QHBoxLayout(holder);
        holderLayout->setContentsMargins(0, 0, 0, 0);
        auto* used = new QCheckBox(holder);
        used->setChecked(m.used);
        holderLayout->addWidget(used, 0, Qt::AlignCenter);
        connect(used, &QCheckBox::toggled, this, [this, row](bool on) {
            if (!filling_)
                Q_EMIT mediaUsedToggled(row, on);
        });
        mediaTable_->setCellWidget(row, 0, holder);
        mediaTable_->setItem(row, 1, new QTableWidgetItem(m.name));
        const QString resolved = resolveMediaPath(path, m);
        const bool present = QFileInfo(resolved).isFile();
        auto* size = new QTableWidgetItem(present ? humanSize(mediaSizeOnDisk(path, m))
                                                  : QStringLiteral("%1 (%2)").arg(humanSize(m.size), ht("Missing")));
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mediaTable_->setItem(row, 2, size);
        auto* location = new QTableWidgetItem(QDir::toNativeSeparators(resolved));
        location->setToolTip(QDir::toNativeSeparators(resolved));
        if (!present)
            location->setForeground(QColor(0xff, 0x6b, 0x6b));
        mediaTable_->setItem(row, 3, location);
    }
    filling_ = false;
}

void DemoMainWindow::closeEvent(QCloseEvent* event)
{
    // Quitting is the host's decision (it may ask to save first).
    event->ignore();
    Q_EMIT quitRequested();
}

} // namespace vexademo
