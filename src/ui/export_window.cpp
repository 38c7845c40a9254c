#include "ui/export_window.h"

#include <QLayout>
#include <QScrollBar>

#include "ui/text_box.h"
#include "ui_export_window.h"
#include "window_text/window_position.h"

namespace kelvane::ui {
namespace {

// Room for a whole listing: fourteen lines and the empty one after the last
// line end, each up to 68 characters with the largest R, D, N and F the chip
// takes.
constexpr int listingColumns = 68;
constexpr int listingRows = 15;

// The designed client area, in twips.
constexpr float designedWidth = 6210;
constexpr float designedHeight = 3090;

} // namespace

ExportWindow::ExportWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), form_(std::make_unique<Ui::ExpForm>()) {
    form_->setupUi(this);
    useFixedPitch(form_->PasteText);
    openAtListingSize();
}

ExportWindow::~ExportWindow() = default;

// The designed size, or larger where the fixed-pitch font needs more room,
// so that the whole listing shows without scrolling. The room for a scroll
// bar each way keeps one bar from bringing up the other while the window
// takes its size.
void ExportWindow::openAtListingSize() {
    QPlainTextEdit* box = form_->PasteText;
    const QFontMetrics metrics(box->font());
    const int padding = 2 * (box->frameWidth() + qRound(box->document()->documentMargin()));
    const QMargins margins = layout()->contentsMargins();
    const QSize listing(metrics.horizontalAdvance(QString(listingColumns, QLatin1Char('0'))) +
                            box->verticalScrollBar()->sizeHint().width() + padding +
                            margins.left() + margins.right(),
                        metrics.lineSpacing() * listingRows +
                            box->horizontalScrollBar()->sizeHint().height() + padding +
                            margins.top() + margins.bottom());
    const QSize designed(pixelsFromTwips(designedWidth, logicalDpiX()),
                         pixelsFromTwips(designedHeight, logicalDpiY()));
    resize(designed.expandedTo(listing));
}

void ExportWindow::setListing(const std::string& listing) {
    replaceText(form_->PasteText, listing);
}

} // namespace kelvane::ui
