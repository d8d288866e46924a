#pragma once

#include "registers/RegisterWindow.h"

// The register of local programmes (table local).
class frmlocal : public registers::RegisterWindow {
    Q_OBJECT
public:
    explicit frmlocal(QWidget* parent = nullptr);
};
