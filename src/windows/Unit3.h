#pragma once
#include "windows/chart_window.h"

class TForm3 : public uriage::ChartWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};

extern TForm3* Form3;
