#pragma once

#include "search/ui/TourSearchWindow.h"

// The list of tours (table tour).
class frmfind3 : public search::TourSearchWindow {
    Q_OBJECT
public:
    explicit frmfind3(QWidget* parent = nullptr);
};
