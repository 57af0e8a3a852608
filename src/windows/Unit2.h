#pragma once
// 月別売上（平面図）: a per-day chart window (daily aggregate, filtered by year and month).
#include "windows/chart_window.h"

class TForm2 : public uriage::ChartWindow {
    Q_OBJECT
public:
    TForm2(uriage::data::Engine& engine, QWidget* parent = nullptr);

    uriage::data::Query& Query1;
};

extern TForm2* Form2;
