#pragma once
// The Setups window: the setup files of one folder with their names, output
// frequencies and notes, to open with a double-click or "Open", to open and
// send to the board with "Open and Send" (offered while the port is open), to
// rename, duplicate or delete, and to save the window's inputs into. The
// folder is kept in the settings store; at first it is "setups" in the
// platform's application data folder. Escape closes it.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class SetupsWindow;
}

namespace kelvane::ui {

class SetupsWindow : public QWidget {
    Q_OBJECT
public:
    // A separate top-level window that stays with its parent. portOpen tells
    // whether "Open and Send" can send; it is asked whenever the window is
    // shown or activated.
    explicit SetupsWindow(QWidget* parent = nullptr, std::function<bool()> portOpen = {});
    ~SetupsWindow() override;

    QString folder() const;
    void setFolder(const QString& folder);
    // Reads the folder again.
    void refresh();

    // The file operations behind the buttons, without asking. Each gives the
    // reason it failed, if it did, and reads the folder again.
    std::optional<QString> renameSetup(const QString& path, const QString& newName);
    std::optional<QString> duplicateSetup(const QString& path);
    std::optional<QString> deleteSetup(const QString& path);
    // The path a setup saved under this name would have in the folder.
    QString pathFor(const QString& name) const;

signals:
    void openRequested(const QString& path, bool send);
    // "Save Current Setup Here": the window's inputs are to be written there.
    void saveRequested(const QString& path);
    // A file renamed here, so that the window's open setup follows it.
    void renamed(const QString& from, const QString& to);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void chooseFolder();
    void requestOpen(bool send);
    void askRename();
    void askDelete();
    void askSaveHere();
    QString currentPath() const;
    void offerSend();

    std::unique_ptr<Ui::SetupsWindow> form_;
    std::function<bool()> portOpen_;
};

} // namespace kelvane::ui
