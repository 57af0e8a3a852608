#pragma once
#include "windows/chart_window.h"

class TForm5 : public uriage::ChartWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};

extern TForm5* Form5;
