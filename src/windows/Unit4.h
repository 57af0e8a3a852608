#pragma once
#include "windows/chart_window.h"

class TForm4 : public uriage::ChartWindow {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

extern TForm4* Form4;
