#pragma once
// 年別売上（３Ｄ）: a per-month chart window (monthly aggregate, filtered by year).
#include "windows/chart_window.h"

class TForm3 : public uriage::ChartWindow {
    Q_OBJECT
public:
    TForm3(uriage::data::Engine& engine, QWidget* parent = nullptr);

    uriage::data::Query& Query2;
};

extern TForm3* Form3;
