#pragma once

#include "registers/ui/RegisterWindow.h"

// The register of local programmes (table local).
class frmlocal : public registers::RegisterWindow {
    Q_OBJECT
public:
    explicit frmlocal(QWidget* parent = nullptr);
};
