#pragma once
#include "windows/chart_window.h"

class TForm6 : public uriage::ChartWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

extern TForm6* Form6;
