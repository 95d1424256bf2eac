// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "app/details_text.h"
#include "gui/about_dialog.h"
#include "gui/details_dialog.h"
#include "gui/column_setup.h"
#include "gui/installed_codecs_dialog.h"
#include "gui/supported_codecs_dialog.h"
#include "gui/widget_builder.h"
#include "res/command_ids.h"
#include "res/control_ids.h"
#include "res/dialog_templates.h"
#include "res/field_tooltips.h"
#include "res/list_columns.h"
#include "res/main_window_fields.h"
#include "res/menu_table.h"

// The icons live in the static library, whose resources the linker drops
// unless they are registered by name; outside any namespace, as Qt asks.
static void RegisterQuiboResources() { Q_INIT_RESOURCE(quibo); }

namespace quibo {
namespace {

const QColor kFieldText(0, 0, 128);
const QColor kFieldBackground(255, 255, 231);

// Room a field keeps around its text: frame and inner margins.
constexpr int kFieldTextMargin = 12;

// The keys of the commands, shown in the menus.
QKeySequence ShortcutOf(int command) {
    switch (command) {
        case command::kOpen: return QKeySequence::Open;
        case command::kSave: return QKeySequence::Save;
        case command::kSaveAs: return QKeySequence(QStringLiteral("Ctrl+Shift+S"));
        case command::kClose: return QKeySequence(QStringLiteral("Ctrl+W"));
        case command::kExit: return QKeySequence(QStringLiteral("Ctrl+Q"));
        case command::kRefresh: return QKeySequence(QStringLiteral("F5"));
        case command::kDetails: return QKeySequence(QStringLiteral("Ctrl+D"));
        case command::kDeleteField: return QKeySequence(Qt::Key_Delete);
        default: return {};
    }
}

}  // namespace

MainWindow::MainWindow(std::vector<std::string> codecPlaces, std::string pendingFileName)
    : units_(DialogFont()),
      messages_(this),
      dialogs_(this),
      editor_(this),
      fourCCDialog_(this),
      copyObserver_(this),
      decoders_(libav_, DefaultDecoderCacheFile(), LoaderFingerprint() + " | " + LibavDecoderSource::Identity()) {
    RegisterQuiboResources();
    const DialogTemplate layout = MainWindowTemplate();
    title_ = QString::fromUtf8(layout.title);
    setWindowTitle(title_);
    const QIcon icon(QStringLiteral(":/quibo.png"));
    setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
    setFont(DialogFont());
    setAcceptDrops(true);

    auto* client = new QWidget(this);
    setCentralWidget(client);
    BuildClient(client, layout);
    // Linux window managers give a program no system menu to extend, so the
    // About item lives in the Help menu only.
    BuildMenus();
    SetUpInfoList();
    // The dialog-unit size is the least the window starts with; it grows
    // where the values need more, and with the user's resizing.
    resize(sizeHint().expandedTo(QSize(units_.X(layout.width), units_.Y(layout.height) + menuBar()->sizeHint().height())));

    connect(static_cast<QPushButton*>(controls_.value(control::kOpenButton)), &QPushButton::clicked, this,
            [this] { RunCommand(command::kOpen); });
    qApp->installEventFilter(this);

    Services services{.files = files_,
                      .messages = messages_,
                      .dialogs = dialogs_,
                      .fields = *this,
                      .editor = &editor_,
                      .copier = &copier_,
                      .copyObserver = &copyObserver_,
                      .decoders = &decoders_,
                      .fourCCDialog = &fourCCDialog_};
    dialog_ = std::make_unique<MainDialog>(services, std::move(codecPlaces));
    dialog_->SetPendingFileName(std::move(pendingFileName));
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildClient(QWidget* client, const DialogTemplate& layout) {
    // The template's group boxes, the "..." button and the list.
    QMap<QString, QGroupBox*> groups;
    for (const ControlTemplate& control : layout.controls) {
        QWidget* widget = BuildControl(control, units_, client);
        if (auto* group = qobject_cast<QGroupBox*>(widget)) groups.insert(group->title(), group);
        if (control.id >= 0) controls_.insert(control.id, widget);
        // The template's size is the least each control keeps.
        if (control.kind == ControlKind::List) widget->setMinimumSize(widget->size());
    }
    infoList_ = static_cast<TitleTipListCtrl*>(controls_.value(control::kInfoList));

    // Each group's fields: labels right-aligned before fields that grow.
    QMap<QGroupBox*, QGridLayout*> grids;
    for (const FieldSpec& field : MainWindowFields()) {
        bool status = field.controlId == control::kFileStatus || field.controlId == control::kVideoStatus;
        ControlTemplate place{status ? ControlKind::StatusButton : ControlKind::ReadOnlyEdit,
                              field.controlId, "", field.x, field.y, field.width, field.height};
        QWidget* widget = BuildControl(place, units_, client);
        controls_.insert(field.controlId, widget);
        widget->setMinimumWidth(std::max(units_.X(field.width), widget->fontMetrics().horizontalAdvance(
                                                                    QString::fromUtf8(field.widestText)) +
                                                                    kFieldTextMargin));
        auto* label = new QLabel(QString::fromUtf8(field.label), client);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Screen readers read a field by its label.
        label->setBuddy(widget);

        QGroupBox* group = groups.value(QString::fromUtf8(GroupName(field.group)));
        QGridLayout*& grid = grids[group];
        if (grid == nullptr) {
            grid = new QGridLayout(group);
            grid->setColumnStretch(1, 1);
        }
        int row = grid->rowCount() - (grid->count() == 0 ? 1 : 0);
        grid->addWidget(label, row, 0);
        grid->addWidget(widget, row, 1);
    }
    QGroupBox* general = groups.value(QStringLiteral("General"));
    QWidget* openButton = controls_.value(control::kOpenButton);
    openButton->setFixedWidth(std::max(openButton->width(), openButton->fontMetrics().horizontalAdvance(
                                                                QStringLiteral("...")) + kFieldTextMargin));
    grids.value(general)->addWidget(openButton, 0, 2);
    QGroupBox* info = groups.value(QStringLiteral("RIFF Info"));
    (new QVBoxLayout(info))->addWidget(infoList_);

    auto* left = new QVBoxLayout;
    left->addWidget(general);
    left->addWidget(info, 1);
    auto* right = new QVBoxLayout;
    // A double click on the Video or Audio group opens the Details view.
    detailGroups_ = {groups.value(QStringLiteral("Video")), groups.value(QStringLiteral("Audio"))};
    right->addWidget(groups.value(QStringLiteral("Video")));
    right->addWidget(groups.value(QStringLiteral("Audio")));
    right->addStretch(1);
    auto* columns = new QHBoxLayout(client);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    for (const FieldTooltip& tip : FieldTooltips()) {
        descriptions_.insert(tip.controlId, QString::fromUtf8(tip.text));
        controls_.value(tip.controlId)->setToolTip(QString::fromUtf8(tip.text));
    }
}

QString MainWindow::ShownText(int controlId) const {
    QWidget* widget = controls_.value(controlId);
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    if (auto* button = qobject_cast<const QPushButton*>(widget)) return button->text();
    return {};
}

void MainWindow::UpdateFieldTip(int controlId) {
    QWidget* widget = controls_.value(controlId);
    const QString description = descriptions_.value(controlId);
    if (widget == nullptr || description.isEmpty()) return;
    // A text the field cuts shows whole in the tooltip, after what the
    // field is.
    const QString text = ShownText(controlId);
    bool fits = widget->fontMetrics().horizontalAdvance(text) + kFieldTextMargin <= widget->width();
    widget->setToolTip(fits ? description : description + QStringLiteral("\n") + text);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    for (int controlId : descriptions_.keys()) UpdateFieldTip(controlId);
}

void MainWindow::SetUpInfoList() {
    SetUpColumns(*infoList_, InfoListColumns(), units_);
    connect(infoList_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (dialog_->CanEditSelection()) RunCommand(command::kEditField);
    });
    infoList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(infoList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (std::unique_ptr<QMenu> menu = InfoContextMenuAt(pos))
            menu->exec(infoList_->viewport()->mapToGlobal(pos));
    });
}

QMenu* MainWindow::BuildMenu(const char* title, std::span<const MenuItem> items, QWidget* parent) {
    auto* menu = new QMenu(QString::fromUtf8(title), parent);
    for (const MenuItem& item : items) {
        if (item.text == nullptr) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setData(item.command);
        int command = item.command;
        if (QKeySequence keys = ShortcutOf(command); !keys.isEmpty() && parent == menuBar()) {
            action->setShortcut(keys);
            // The Delete key is the window's own (it works in any control
            // and goes on to it); the menu only shows it.
            if (command == command::kDeleteField) action->setShortcutContext(Qt::WidgetShortcut);
        }
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
    // The enable rules run each time the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateCommands(menu); });
    return menu;
}

void MainWindow::BuildMenus() {
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = BuildMenu(popup.text, popup.items, menuBar());
        menuBar()->addMenu(menu);
        menus_ << menu;
    }
}

void MainWindow::UpdateCommands(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) action->setEnabled(dialog_->IsCommandEnabled(action->data().toInt()));
}

std::unique_ptr<QMenu> MainWindow::InfoContextMenuAt(const QPoint& pos) {
    if (infoList_->itemAt(pos) == nullptr) return nullptr;
    // A popup of the window, opened at the click: it closes on a click
    // outside and stands above the window.
    return std::unique_ptr<QMenu>(BuildMenu("root", InfoListContextMenu(), this));
}

void MainWindow::Start() {
    dialog_->Start();
    AfterCommand(-1);
}

void MainWindow::ShowAndStart(std::function<void()> then) {
    show();
    StartOnceExposed(std::move(then), kExposeChecks);
}

void MainWindow::StartOnceExposed(std::function<void()> then, int checksLeft) {
    // The window is up once the display shows it; a display that never
    // says so gets start-up after the last check all the same.
    QTimer::singleShot(checksLeft == kExposeChecks ? 0 : 10, this, [this, then = std::move(then), checksLeft] {
        if (checksLeft > 0 && !(windowHandle() && windowHandle()->isExposed())) {
            StartOnceExposed(then, checksLeft - 1);
            return;
        }
        Start();
        if (then) then();
    });
}

void MainWindow::RunCommand(int command) {
    // A shortcut runs only what its menu would offer.
    if (!dialog_->IsCommandEnabled(command)) return;
    const int selected = SelectedInfoRow();
    switch (command) {
        case command::kOpen: dialog_->OnFileOpen(); break;
        case command::kSave: dialog_->ConfirmAndWrite(); break;
        case command::kSaveAs: dialog_->OnSaveAs(); break;
        case command::kClose: dialog_->OnFileClose(); break;
        case command::kExit: close(); break;
        case command::kEditField: dialog_->OnEditField(); break;
        case command::kDeleteField: dialog_->OnDeleteField(); break;
        case command::kNewField: dialog_->OnNewField(); break;
        case command::kChangeFourCC: dialog_->OnChangeFourCC(); break;
        case command::kRefresh: dialog_->OnViewRefresh(); break;
        case command::kListAllCodecs: SupportedCodecsDialog(dialog_->Codecs(), units_, this).exec(); break;
        case command::kInstalledCodecs: InstalledCodecsDialog(libav_, dialog_->Codecs(), units_, this).exec(); break;
        case command::kAbout: AboutDialog(this).exec(); break;
        case command::kDetails:
            DetailsDialog(QFileInfo(PathToQt(dialog_->FilePath())).fileName(),
                          QString::fromStdString(DetailsText(dialog_->Report(), dialog_->FilePath())), this)
                .exec();
            break;
        default: break;
    }
    AfterCommand(selected);
}

void MainWindow::AfterCommand(int selectedRow) {
    // The title names the file, marked while edits are unsaved.
    const std::string& path = dialog_->FilePath();
    QString name = QFileInfo(PathToQt(path)).fileName();
    setWindowTitle(dialog_->FileRead() && !name.isEmpty() ? title_ + QStringLiteral(" - ") + name + QStringLiteral("[*]")
                                                         : title_);
    setWindowModified(dialog_->ImageModified());
    // The row that was edited stays selected.
    if (selectedRow >= 0 && SelectedInfoRow() < 0 && selectedRow < infoList_->topLevelItemCount())
        infoList_->setCurrentItem(infoList_->topLevelItem(selectedRow));
}

void MainWindow::SetText(int controlId, const std::string& text) {
    QWidget* widget = controls_.value(controlId);
    // A path's bytes need not be UTF-8; it is shown as the file manager
    // shows it.
    QString shown = controlId == control::kFileName ? PathToQt(text) : QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(shown);
        edit->setCursorPosition(0);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(shown);
        // A missing codec is seen at a glance.
        if (controlId == control::kVideoStatus)
            button->setIcon(text == "Codec NOT Installed" ? style()->standardIcon(QStyle::SP_MessageBoxWarning) : QIcon());
    }
    UpdateFieldTip(controlId);
}

void MainWindow::SetChecked(int controlId, bool checked) {
    if (auto* button = qobject_cast<QPushButton*>(controls_.value(controlId))) button->setChecked(checked);
}

void MainWindow::SetEnabled(int controlId, bool enabled) {
    if (QWidget* widget = controls_.value(controlId)) widget->setEnabled(enabled);
}

void MainWindow::ClearInfoRows() { infoList_->clear(); }

void MainWindow::InsertInfoRow(int row, const InfoRowText& text) {
    auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(text.code), QString::fromStdString(text.name),
                                                 QString::fromStdString(text.contents)});
    for (int column = 0; column < 3; ++column) {
        item->setForeground(column, kFieldText);
        item->setBackground(column, kFieldBackground);
    }
    infoList_->insertTopLevelItem(row, item);
}

int MainWindow::SelectedInfoRow() const {
    const QList<QTreeWidgetItem*> selected = infoList_->selectedItems();
    return selected.isEmpty() ? -1 : infoList_->indexOfTopLevelItem(selected.first());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (dialog_->OnCancel())
        event->accept();
    else
        event->ignore();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    // A dropped file opens as one named on the command line.
    dialog_->SetPendingFileName(PathFromQt(urls.first().toLocalFile()));
    dialog_->OnFileOpen();
    AfterCommand(-1);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The Delete key deletes the selected field whichever control has the
    // focus; the key still goes on to that control.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        QApplication::activeWindow() == this && watched == QApplication::focusWidget() &&
        dialog_->CanEditSelection()) {
        const int selected = SelectedInfoRow();
        dialog_->OnDeleteField();
        AfterCommand(selected);
    }
    if (event->type() == QEvent::MouseButtonDblClick && QApplication::activeWindow() == this &&
        (detailGroups_.contains(watched) || (qobject_cast<QLabel*>(watched) && detailGroups_.contains(watched->parent())))) {
        RunCommand(command::kDetails);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace quibo
