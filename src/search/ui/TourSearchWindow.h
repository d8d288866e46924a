#pragma once

#include "search/SearchQueries.h"
#include "search/ui/SearchWindow.h"

namespace varnel {
class VarnelLineEdit;
struct Encoded;
} // namespace varnel

namespace search {

// frmfind3: the tours by departure and arrival date, narrowed by the beginning of the place of
// departure and of the destination, and by a date range that the travel period touches.
class TourSearchWindow : public SearchWindow {
    Q_OBJECT
public:
    explicit TourSearchWindow(QWidget* parent = nullptr);

    varnel::VarnelLineEdit* TxtFrom = nullptr;
    varnel::VarnelLineEdit* TxtTo = nullptr;

protected:
    void ImageFind_Click() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenSearch();
    void Qry_tour();
    // Why the place in `box` cannot be searched for, in Kannada; empty when it can.
    QString placeProblem(const varnel::VarnelLineEdit* box, const varnel::Encoded& place) const;
    // Entering a place box selects its whole text, so typing replaces it.
    void PlaceBox_GotFocus(varnel::VarnelLineEdit* box);
};

SearchWindowDesign tourSearchDesign();

} // namespace search
