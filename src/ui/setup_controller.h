#pragma once
// Setups in the main window: the File menu (New, Open Setup..., Save Setup,
// Save Setup As..., Open Recent, Setups..., Quit), the setup's name in the
// caption with "*" while the inputs differ from the file, Save / Discard /
// Cancel before unsaved changes would be lost, and setup files dropped on
// the window. A refused file leaves the window as it was.

#include <QObject>
#include <QString>

#include "ui/setup_host.h"

#include "setup/setup_file.h"

class QMainWindow;
class QMenu;

namespace kelvane::ui {

class SetupsWindow;

class SetupController : public QObject {
    Q_OBJECT
public:
    // Adds the File menu to the window and watches the inputs of host (the
    // same window); the window owns the controller.
    SetupController(QMainWindow& window, SetupHost& host);

    // Applies the setup after asking about unsaved changes; a refused file
    // shows its message in a box. "Open and Send" also runs "Update all
    // registers" when the port is open. While the board is busy (a run, a
    // transfer, a read-back) nothing opens and the status line says why. True
    // when the setup was applied.
    bool open(const QString& path, bool send = false);
    // To the opened file, or as a new one (asking where) when there is none.
    bool save();
    bool saveAs(const QString& path);
    // The start-up inputs, no file; refused as open() is while the board is busy.
    void newSetup();

    QString path() const { return path_; }
    bool modified() const;
    SetupsWindow& setupsWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void watchInputs();
    QString setupsFolder() const;
    void openChosen();
    bool saveChosen();
    // True, with the reason on the status line, while the board is busy.
    bool refusedWhileBusy();
    // True when the work may go on: nothing unsaved, or saved, or discarded.
    bool settleChanges();
    void updateCaption();
    void remember(const QString& path);
    void fillRecent();
    bool writeTo(const QString& path, const setup::Setup& setup);

    QMainWindow& window_;
    SetupHost& host_;
    QString path_;
    setup::Setup saved_; // as in the file at path_
    QString plainTitle_;
    QMenu* recent_ = nullptr;
    SetupsWindow* setupsWindow_ = nullptr;
};

} // namespace kelvane::ui
