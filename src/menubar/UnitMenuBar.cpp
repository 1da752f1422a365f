#include "menubar/UnitMenuBar.h"

#include "app/OptionsFile.h"
#include "app/RegistryDate.h"
#include "app/ScreenMetrics.h"
#include "app/ShowMessageBox.h"
#include "app/UnitDef.h"
#include "library/TMenuItem.h"
#include "menu/UnitHint.h"
#include "menu/UnitMenu.h"
#include "menubar/BarLabel.h"
#include "menubar/SkinImage.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

TFmMenuBar* FmMenuBar = nullptr;

namespace {
constexpr int kPanelHeight = 26;
constexpr int kDesignWidth = 425;
constexpr int kCapWidth = 6;
constexpr int kLabelMargin = 7;
constexpr int kDragDeadZone = 5;
constexpr int kSnapDistance = 16;
} // namespace

TFmMenuBar::TFmMenuBar() : root_(std::make_unique<TMenuItem>()) {
    setWindowTitle(QString::fromUtf8(ProgramTitle));
    CurrentPlatform().MakeNonActivatingWindow(this, WindowRole::Bar);

    BarFont = QFont(QStringLiteral("新宋体"));
    BarFont.setPixelSize(12);
    setFont(BarFont);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    PanelMenuBar = new QWidget(this);
    PanelMenuBar->setGeometry(0, 0, kDesignWidth, kPanelHeight);
    ImageL = new SkinImage(this, PanelMenuBar, QStringLiteral(":/skin/bar_left.png"));
    ImageM = new SkinImage(this, PanelMenuBar, QStringLiteral(":/skin/bar_middle.png"));
    ImageR = new SkinImage(this, PanelMenuBar, QStringLiteral(":/skin/bar_right.png"));
    ImageMenuLeftBar = QPixmap(QStringLiteral(":/skin/menu_left_bar.png"));
    LayoutSkin();

    CreateSystemMenu();
    FormCreate();
}

TFmMenuBar::~TFmMenuBar() {
    if (timerMenuEnabled_)
        CurrentPlatform().WatchButtonPresses({});
}

void TFmMenuBar::FormCreate() {
    CurrentPlatform().SetWindowTag(this, WindowTag);
    setGeometry(ScreenWidth(), 0, PanelMenuBar->width(), PanelMenuBar->height());
}

void TFmMenuBar::CreateSystemMenu() {
    MnSystem = root_->Add(QStringLiteral("系统"), QString(), ikCommand);
    auto command = [this](const char* caption, void (TFmMenuBar::*handler)()) {
        TMenuItem* item = MnSystem->Add(QString::fromUtf8(caption), QString(), ikCommand);
        item->OnClick = [this, handler] {
            RunReportingErrors([this, handler] { (this->*handler)(); });
        };
        return item;
    };
    auto separator = [this] { MnSystem->Add(QStringLiteral("-"), QString(), ikSeparator); };
    QQ1 = command("导入QQ表情文件...", &TFmMenuBar::QQ1Click);
    MnOrg = command("添加/删除/整理...", &TFmMenuBar::MnOrgClick);
    separator();
    MnOrder = command("主菜单顺序调整...", &TFmMenuBar::MnOrderClick);
    MnHide = command("隐藏窗口", &TFmMenuBar::MnHideClick);
    separator();
    MnHelp = command("使用帮助", &TFmMenuBar::MnHelpClick);
    MnAbout = command("关于Jolvex", &TFmMenuBar::MnAboutClick);
    separator();
    MnExit = command("退出", &TFmMenuBar::MnExitClick);
}

QList<BarLabel*> TFmMenuBar::Labels() const {
    return PanelMenuBar->findChildren<BarLabel*>(QString(), Qt::FindDirectChildrenOnly);
}

void TFmMenuBar::LayoutSkin() {
    const int width = PanelMenuBar->width();
    ImageL->setGeometry(0, 0, kCapWidth, kPanelHeight);
    ImageR->setGeometry(width - kCapWidth, 0, kCapWidth, kPanelHeight);
    ImageM->setGeometry(kCapWidth, 0, std::max(0, width - 2 * kCapWidth), kPanelHeight);
}

void TFmMenuBar::InitToolBarMenu() {
    qDeleteAll(Labels());

    int x = kLabelMargin;
    for (int i = 0; i < RootNode->Count(); ++i) {
        TMenuItem* node = RootNode->Items(i);
        auto* label = new BarLabel(this, PanelMenuBar, node->Caption, BarFont);
        const QSize caption = label->CaptionSize();
        const int width = caption.width() + 10;
        const int height = std::max(caption.height(), 18);
        label->setGeometry(x, (PanelMenuBar->height() - height) / 2, width, height);
        label->Tag = i;
        label->show();
        x += width;
        PanelMenuBar->resize(label->x() + width + kLabelMargin, kPanelHeight);
    }
    LayoutSkin();

    const int screenWidth = ScreenWidth();
    if (HasSavedPosition) {
        if (BarLeft + PanelMenuBar->width() >= screenWidth)
            BarLeft = screenWidth - PanelMenuBar->width();
        if (BarLeft < 0)
            BarLeft = 0;
    } else {
        BarLeft = (screenWidth - PanelMenuBar->width()) / 2;
    }
    if (BarLeft < 0)
        BarLeft = 0;
    setGeometry(BarLeft, BarTop, PanelMenuBar->width(), PanelMenuBar->height());
}

void TFmMenuBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CurrentPlatform().RaiseTopmost(this);
}

void TFmMenuBar::SetTimerMenuEnabled(bool enabled) {
    if (enabled == timerMenuEnabled_)
        return;
    timerMenuEnabled_ = enabled;
    if (enabled)
        CurrentPlatform().WatchButtonPresses([this] { TimerMenuTimer(); });
    else
        CurrentPlatform().WatchButtonPresses({});
}

void TFmMenuBar::TimerMenuTimer() {
    if (CurrentPlatform().WindowTagUnderCursor() != WindowTag) {
        FmHint->hide();
        FmMenu->hide();
        SetTimerMenuEnabled(false);
    }
    if (!FmMenu->isVisible())
        SetTimerMenuEnabled(false);
}

void TFmMenuBar::ImageMMouseDown(QPoint cursor) {
    MouseIsDown = true;
    OldCurPos = cursor;
    OldTop = y();
    OldLeft = x();
    requestedPosition_ = pos();
    FmMenu->hide();
}

void TFmMenuBar::ImageMMouseMove(QPoint cursor) {
    if (!MouseIsDown)
        return;
    if (std::abs(cursor.x() - OldCurPos.x()) > kDragDeadZone ||
        std::abs(cursor.y() - OldCurPos.y()) > kDragDeadZone)
        WndIsDrag = true;
    if (WndIsDrag) {
        requestedPosition_ = cursor - OldCurPos + QPoint(OldLeft, OldTop);
        move(requestedPosition_);
    }
}

void TFmMenuBar::ImageMMouseUp() {
    MouseIsDown = false;
    // The window manager confirms moves late; the position asked for last is the bar's.
    int left = requestedPosition_.x();
    int top = requestedPosition_.y();
    if (top < kSnapDistance)
        top = 0;
    if (left < 0)
        left = 0;
    if (left + width() >= ScreenWidth())
        left = ScreenWidth() - width();
    move(left, top);
    BarLeft = left;
}

void TFmMenuBar::ImageMMouseEnter() {
    CurrentPlatform().RaiseTopmost(this);
}

void TFmMenuBar::LabelMouseEnter(BarLabel* sender) {
    ImageMMouseEnter();
    for (BarLabel* label : Labels())
        if (label->Highlighted())
            label->SetHighlighted(false);
    sender->SetHighlighted(true);
    if (FmMenu->isVisible()) {
        FmMenu->hide();
        OpenMenuFor(sender);
    }
}

void TFmMenuBar::LabelMouseLeave(BarLabel* sender) {
    if (!FmMenu->isVisible())
        sender->SetHighlighted(false);
}

void TFmMenuBar::LabelMouseDown(BarLabel* sender, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (FmMenu->isVisible()) {
        FmMenu->hide();
        return;
    }
    OpenMenuFor(sender);
}

void TFmMenuBar::OpenMenuFor(BarLabel* label) {
    const QPoint labelOrigin = label->mapToGlobal(QPoint(0, 0));
    const QPoint panelOrigin = PanelMenuBar->mapToGlobal(QPoint(0, 0));
    FmMenu->MenuItem = RootNode->Items(label->Tag);
    FmMenu->ShowSubMenuAtRight = true;
    FmMenu->LeftWidth = labelOrigin.x() + label->width();
    FmMenu->LoadData(labelOrigin.x(), panelOrigin.y() + PanelMenuBar->height());
    FmMenu->show();
}

void TFmMenuBar::QQ1Click() {
    // The package import arrives with its own issue.
}

void TFmMenuBar::MnOrgClick() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(DataDir));
}

void TFmMenuBar::MnOrderClick() {
    // The top-level order dialog arrives with its own issue.
}

void TFmMenuBar::MnHideClick() {
    // Hiding waits for the tray icon: without it a hidden bar could not come back.
}

void TFmMenuBar::MnHelpClick() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(ExeDir + QStringLiteral("Jolvex.chm")));
}

void TFmMenuBar::MnAboutClick() {
    // The About dialog arrives with the tray and System commands.
}

void TFmMenuBar::MnExitClick() {
    // A settings file that cannot be written is reported by the caller and the program runs on.
    SaveOptions(OptionsFile, x(), y());
    if (auto key = SettingsKey::Open(true)) {
        key->WriteString(QStringLiteral("DataPath"), DataDir);
        key->WriteBinary(QStringLiteral("Date"), EncodeRegistryDate(QDate::currentDate()));
        key->Close();
    }
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
