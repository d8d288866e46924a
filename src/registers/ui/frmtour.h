#pragma once

#include "registers/ui/RegisterWindow.h"

// The register of tours (table tour): departure and arrival kept in order.
class frmtour : public registers::RegisterWindow {
    Q_OBJECT
public:
    explicit frmtour(QWidget* parent = nullptr);
};
