#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "gui/about_dialog.h"
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

namespace quibo {
namespace {

const QColor kFieldText(0, 0, 128);
const QColor kFieldBackground(255, 255, 231);

// Labels sit right-aligned to the left of their fields, inside the group.
constexpr int kGroupInset = 4;
constexpr int kLabelGap = 2;

int GroupLeft(FieldGroup group) { return group == FieldGroup::General ? 6 : 199; }

}  // namespace

MainWindow::MainWindow(std::vector<std::string> codecPlaces, std::string pendingFileName)
    : units_(DialogFont()),
      messages_(this),
      dialogs_(this),
      editor_(this),
      copyObserver_(this),
      decoders_(libav_, DefaultDecoderCacheFile(), LoaderFingerprint() + " | " + LibavDecoderSource::Identity()) {
    const DialogTemplate layout = MainWindowTemplate();
    setWindowTitle(QString::fromUtf8(layout.title));
    setWindowIcon(QIcon(QStringLiteral(":/quibo.png")));
    setFont(DialogFont());
    setAcceptDrops(true);

    auto* client = new QWidget(this);
    client->setFixedSize(units_.X(layout.width), units_.Y(layout.height));
    setCentralWidget(client);
    controls_ = BuildControls(layout, units_, client);
    infoList_ = static_cast<TitleTipListCtrl*>(controls_.value(control::kInfoList));
    BuildFields(client);
    // Linux window managers give a program no system menu to extend, so the
    // About item lives in the Help menu only.
    BuildMenus();
    SetUpInfoList();
    QMainWindow::layout()->setSizeConstraint(QLayout::SetFixedSize);

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
                      .decoders = &decoders_};
    dialog_ = std::make_unique<MainDialog>(services, std::move(codecPlaces));
    dialog_->SetPendingFileName(std::move(pendingFileName));
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildFields(QWidget* client) {
    for (const FieldSpec& field : MainWindowFields()) {
        bool status = field.controlId == control::kFileStatus || field.controlId == control::kVideoStatus;
        ControlTemplate place{status ? ControlKind::StatusButton : ControlKind::ReadOnlyEdit,
                              field.controlId, "", field.x, field.y, field.width, field.height};
        controls_.insert(field.controlId, BuildControl(place, units_, client));

        int labelLeft = GroupLeft(field.group) + kGroupInset / 2;
        auto* label = new QLabel(QString::fromUtf8(field.label), client);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(units_.Rect(labelLeft, field.y, field.x - kLabelGap - labelLeft, field.height));
    }
    for (const FieldTooltip& tip : FieldTooltips())
        controls_.value(tip.controlId)->setToolTip(QString::fromUtf8(tip.text));
}

void MainWindow::SetUpInfoList() {
    SetUpColumns(*infoList_, InfoListColumns(), units_);
    connect(infoList_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (dialog_->CanEditSelection()) dialog_->OnEditField();
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
    std::unique_ptr<QMenu> menu(BuildMenu("root", InfoListContextMenu(), this));
    menu->setParent(nullptr);
    return menu;
}

void MainWindow::Start() { dialog_->Start(); }

void MainWindow::RunCommand(int command) {
    switch (command) {
        case command::kOpen: dialog_->OnFileOpen(); break;
        case command::kSave: dialog_->ConfirmAndWrite(); break;
        case command::kSaveAs: dialog_->OnSaveAs(); break;
        case command::kClose: dialog_->OnFileClose(); break;
        case command::kExit: close(); break;
        case command::kEditField: dialog_->OnEditField(); break;
        case command::kDeleteField: dialog_->OnDeleteField(); break;
        case command::kNewField: dialog_->OnNewField(); break;
        case command::kRefresh: dialog_->OnViewRefresh(); break;
        case command::kListAllCodecs: SupportedCodecsDialog(dialog_->Codecs(), units_, this).exec(); break;
        case command::kInstalledCodecs: InstalledCodecsDialog(libav_, dialog_->Codecs(), units_, this).exec(); break;
        case command::kAbout: AboutDialog(this).exec(); break;
        default: break;
    }
}

void MainWindow::SetText(int controlId, const std::string& text) {
    QWidget* widget = controls_.value(controlId);
    QString shown = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(shown);
        edit->setCursorPosition(0);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(shown);
    }
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
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The Delete key deletes the selected field whichever control has the
    // focus; the key still goes on to that control.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        QApplication::activeWindow() == this && watched == QApplication::focusWidget() &&
        dialog_->CanEditSelection())
        dialog_->OnDeleteField();
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace quibo
