#pragma once
// 年別売上（３Ｄ）: a per-month chart window (monthly aggregate, filtered by year).
#include "windows/chart_window.h"

class TForm7 : public uriage::ChartWindow {
    Q_OBJECT
public:
    TForm7(uriage::data::Engine& engine, QWidget* parent = nullptr);

    uriage::data::Query& Query1;
};

extern TForm7* Form7;
