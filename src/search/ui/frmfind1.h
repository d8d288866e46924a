#pragma once

#include "search/ui/ProgrammeSearchWindow.h"

// The list of local programmes (table local).
class frmfind1 : public search::ProgrammeSearchWindow {
    Q_OBJECT
public:
    explicit frmfind1(QWidget* parent = nullptr);
};
