#pragma once
// 月別売上（３Ｄ）: a per-day chart window (daily aggregate, filtered by year and month).
#include "windows/chart_window.h"

class TForm4 : public uriage::ChartWindow {
    Q_OBJECT
public:
    TForm4(uriage::data::Engine& engine, QWidget* parent = nullptr);

    uriage::data::Query& Query1;
};

extern TForm4* Form4;
