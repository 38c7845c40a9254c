#pragma once
// The export window: the register set as PIC assembler text, in one editable
// box for the user to copy from.

#include <QWidget>
#include <memory>
#include <string>

namespace Ui {
class ExpForm;
}

namespace kelvane::ui {

class ExportWindow : public QWidget {
    Q_OBJECT
public:
    // A separate top-level window that stays with its parent.
    explicit ExportWindow(QWidget* parent = nullptr);
    ~ExportWindow() override;

    // Replaces the whole text of PasteText.
    void setListing(const std::string& listing);

private:
    void openAtListingSize();

    std::unique_ptr<Ui::ExpForm> form_;
};

} // namespace kelvane::ui
