#pragma once
// 年別売上（平面図）: a per-month chart window (monthly aggregate, filtered by year).
#include "windows/chart_window.h"

class TForm6 : public uriage::ChartWindow {
    Q_OBJECT
public:
    TForm6(uriage::data::Engine& engine, QWidget* parent = nullptr);

    uriage::data::Query& Query5;
};

extern TForm6* Form6;
