#include "mouse_script.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>

namespace uriage::probe {

namespace {

bool toInt(const QString& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

} // namespace

std::optional<std::vector<MouseStep>> parseMouseScript(const QString& script, QString* error)
{
    std::vector<MouseStep> steps;
    for (const QString& entry : script.split(QChar(';'))) {
        const QStringList words = entry.simplified().split(QChar(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const QString& verb = words.front();
        MouseStep step;
        if (verb == QLatin1String("left-drag") || verb == QLatin1String("right-drag")) {
            int v[4] = {};
            bool ok = words.size() == 5;
            for (int i = 0; ok && i < 4; ++i)
                ok = toInt(words[i + 1], &v[i]);
            if (!ok) {
                *error = QStringLiteral("\"%1\" needs four whole numbers X1 Y1 X2 Y2").arg(entry.trimmed());
                return std::nullopt;
            }
            step.kind = verb.startsWith(QLatin1Char('l')) ? MouseStep::Kind::LeftDrag : MouseStep::Kind::RightDrag;
            step.from = QPoint(v[0], v[1]);
            step.to = QPoint(v[2], v[3]);
        } else if (verb == QLatin1String("wheel") && words.size() == 2 &&
                   (words[1] == QLatin1String("up") || words[1] == QLatin1String("down"))) {
            step.kind = words[1] == QLatin1String("up") ? MouseStep::Kind::WheelUp : MouseStep::Kind::WheelDown;
        } else if (verb == QLatin1String("press") && words.size() == 1) {
            step.kind = MouseStep::Kind::PressFilter;
        } else {
            *error = QStringLiteral("unknown mouse step \"%1\"").arg(entry.trimmed());
            return std::nullopt;
        }
        steps.push_back(step);
    }
    return steps;
}

std::vector<QPoint> dragPath(QPoint from, QPoint to, int stride)
{
    const QPoint delta = to - from;
    const int distance = std::max(std::abs(delta.x()), std::abs(delta.y()));
    const int count = std::max(1, (distance + stride - 1) / std::max(1, stride));
    std::vector<QPoint> path;
    for (int i = 1; i <= count; ++i)
        path.push_back(from + QPoint(delta.x() * i / count, delta.y() * i / count));
    return path;
}

} // namespace uriage::probe
