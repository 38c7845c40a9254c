#pragma once
// The Setups window: the setup files of one folder with their names, output
// frequencies and notes, to open with a double-click or "Open", or to open and
// send to the board with "Open and Send". The folder is kept in the settings
// store; at first it is "setups" in the platform's application data folder.

#include <QWidget>
#include <memory>

namespace Ui {
class SetupsWindow;
}

namespace kelvane::ui {

class SetupsWindow : public QWidget {
    Q_OBJECT
public:
    // A separate top-level window that stays with its parent.
    explicit SetupsWindow(QWidget* parent = nullptr);
    ~SetupsWindow() override;

    QString folder() const;
    void setFolder(const QString& folder);
    // Reads the folder again.
    void refresh();

signals:
    void openRequested(const QString& path, bool send);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseFolder();
    void requestOpen(bool send);

    std::unique_ptr<Ui::SetupsWindow> form_;
};

} // namespace kelvane::ui
