#pragma once

#include "search/SearchQueries.h"
#include "search/ui/SearchWindow.h"

namespace search {

// frmfind1 and frmfind2: the programmes of one register in date and time order, narrowed by
// a range of dates and a range of times of day.
class ProgrammeSearchWindow : public SearchWindow {
    Q_OBJECT
public:
    ProgrammeSearchWindow(const SearchWindowDesign& design, QWidget* parent = nullptr);

    // The bounds whose pickers are in force, with the pickers' values.
    ProgrammeBounds boundsInForce() const;

    std::array<QCheckBox*, 2> CheckTime{};
    std::array<varnel::DateTimePicker*, 2> DTPickerTime{};

public slots:
    // Builds the statement from the bounds in force and lists its rows.
    void Qry_date();

protected:
    void ImageFind_Click() override;

private:
    void OpenSearch();
    void CheckTime_Click(int Index);

    QString m_table;
};

// The designs of the two windows.
SearchWindowDesign localSearchDesign();
SearchWindowDesign outstationSearchDesign();

} // namespace search
