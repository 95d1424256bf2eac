// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the fields, the RIFF Info list and the menus of Quibo.
// It shows what the core's MainDialog tells it and hands every command to
// it; it holds no analysis or editing logic of its own.
#pragma once

#include <QMainWindow>
#include <QList>
#include <QMap>
#include <functional>
#include <memory>

#include "app/main_dialog.h"
#include "controls/title_tip_list_ctrl.h"
#include "gui/dialog_units.h"
#include "gui/fourcc_change_dialog.h"
#include "gui/info_editor_dialog.h"
#include "gui/progress_copy_observer.h"
#include "gui/qt_file_dialogs.h"
#include "gui/qt_message_boxes.h"
#include "platform/field_surface.h"
#include "platform/cached_decoder_source.h"
#include "platform/libav_decoder_source.h"
#include "platform/posix_file_access.h"
#include "platform/posix_file_copy.h"
#include "res/dialog_templates.h"
#include "res/menu_table.h"

class QMenu;

namespace quibo {

class MainWindow final : public QMainWindow, public FieldSurface {
public:
    // Builds the window; `pendingFileName` is opened by Start().
    MainWindow(std::vector<std::string> codecPlaces, std::string pendingFileName);
    ~MainWindow() override;

    // Start-up once the window is shown: codec database, fields, installed
    // codecs, then the file named on the command line.
    void Start();
    // Shows the window, then starts up once the event loop turns, so that
    // start-up's messages stand over the window; then runs `then`.
    void ShowAndStart(std::function<void()> then = {});
    // Runs a command of the menus by its id.
    void RunCommand(int command);

    MainDialog& Dialog() { return *dialog_; }
    const DialogUnits& Units() const { return units_; }
    QWidget* Control(int controlId) const { return controls_.value(controlId); }
    // The text a field shows.
    QString ShownText(int controlId) const;
    TitleTipListCtrl* InfoListView() const { return infoList_; }
    QList<QMenu*> Menus() const { return menus_; }
    // The RIFF Info list's context menu for the item at `pos` in the list's
    // viewport, or null over empty space.
    std::unique_ptr<QMenu> InfoContextMenuAt(const QPoint& pos);

    // FieldSurface
    void SetText(int controlId, const std::string& text) override;
    void SetChecked(int controlId, bool checked) override;
    void SetEnabled(int controlId, bool enabled) override;
    void ClearInfoRows() override;
    void InsertInfoRow(int row, const InfoRowText& text) override;
    int SelectedInfoRow() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildClient(QWidget* client, const DialogTemplate& layout);
    static constexpr int kExposeChecks = 300;  // of 10 ms each
    void StartOnceExposed(std::function<void()> then, int checksLeft);
    void UpdateFieldTip(int controlId);
    // After a command: the title, and the row that was selected before it.
    void AfterCommand(int selectedRow);
    void SetUpInfoList();
    void BuildMenus();
    QMenu* BuildMenu(const char* title, std::span<const MenuItem> items, QWidget* parent);
    void UpdateCommands(QMenu* menu);

    DialogUnits units_;
    QString title_;
    QMap<int, QWidget*> controls_;
    // What each field is, the start of its tooltip.
    QMap<int, QString> descriptions_;
    TitleTipListCtrl* infoList_ = nullptr;
    // The Video and Audio groups, which open the Details view.
    QList<QObject*> detailGroups_;
    QList<QMenu*> menus_;

    PosixFileAccess files_;
    QtMessageBoxes messages_;
    QtFileDialogs dialogs_;
    QtInfoEditor editor_;
    QtFourCCDialog fourCCDialog_;
    PosixFileCopy copier_;
    ProgressCopyObserver copyObserver_;
    // The status check reads the decoders remembered between runs; the
    // installed-codecs list asks the libraries afresh.
    LibavDecoderSource libav_;
    CachedDecoderSource decoders_;
    std::unique_ptr<MainDialog> dialog_;
};

}  // namespace quibo
