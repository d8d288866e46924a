#pragma once

#include "search/ui/ProgrammeSearchWindow.h"

// The list of outstation programmes (table outstation).
class frmfind2 : public search::ProgrammeSearchWindow {
    Q_OBJECT
public:
    explicit frmfind2(QWidget* parent = nullptr);
};
