#pragma once
#include "windows/chart_window.h"

class TForm7 : public uriage::ChartWindow {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
};

extern TForm7* Form7;
