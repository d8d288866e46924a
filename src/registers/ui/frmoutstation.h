#pragma once

#include "registers/ui/RegisterWindow.h"

// The register of outstation programmes (table outstation).
class frmoutstation : public registers::RegisterWindow {
    Q_OBJECT
public:
    explicit frmoutstation(QWidget* parent = nullptr);
};
