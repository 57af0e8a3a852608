#pragma once
#include "windows/chart_window.h"

class TForm2 : public uriage::ChartWindow {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

extern TForm2* Form2;
