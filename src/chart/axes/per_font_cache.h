#pragma once
// Values worked out from a text in a font (its width, its laid-out glyphs),
// kept between frames: a chart measures and writes the same labels every
// time it is drawn, and shaping a text is most of the cost of both. Only on
// the application's thread and for fonts sized in pixels (whose texts do not
// depend on the screen); emptied when the system's fonts change or the
// application ends, and a font's table when it grows past a bound.
#include <QFont>
#include <QGuiApplication>
#include <QPointer>
#include <QHash>
#include <QString>
#include <functional>
#include <map>
#include <optional>

namespace uriage::chart {

// Whether this is the application's thread (and the application exists).
bool onApplicationThread();

// Whether texts in the font may be kept: a font sized in pixels, on the
// application's thread.
bool textsMayBeKept(const QFont& font);

// Calls forget whenever fonts are installed or removed (a font description
// can then resolve to another font) and when the application ends (nothing
// font-made outlives it); an application made after that is watched anew.
class FontChangeWatch {
public:
    explicit FontChangeWatch(std::function<void()> forget) : forget_(std::move(forget)) {}
    // Call before keeping anything.
    void watch();

private:
    std::function<void()> forget_;
    QPointer<QGuiApplication> watched_;
};

template <typename Value>
class PerFontCache {
public:
    using Table = QHash<QString, Value>;

    // The font's table, or nothing where its texts may not be kept.
    Table* tableFor(const QFont& font)
    {
        if (!textsMayBeKept(font))
            return nullptr;
        watch_.watch();
        // A chart writes many texts in one font in a row: its description is
        // built only when the font changes.
        if (!lastTable_ || !(font == *lastFont_)) {
            lastFont_ = font;
            lastTable_ = &tables_[font.key()];
        }
        return lastTable_;
    }

    // Far more than the labels of a chart: a table is emptied rather than
    // grown past it, so that a long session of changing data keeps little.
    static constexpr qsizetype kMostTextsPerFont = 4096;

    static const Value& remember(Table& table, const QString& text, Value value)
    {
        if (table.size() >= kMostTextsPerFont)
            table.clear();
        return *table.insert(text, std::move(value));
    }

private:
    void forget()
    {
        tables_.clear();
        lastFont_.reset();
        lastTable_ = nullptr;
    }

    std::map<QString, Table> tables_;    // a table stays where it is while kept
    std::optional<QFont> lastFont_;
    Table* lastTable_ = nullptr;
    FontChangeWatch watch_{[this] { forget(); }};
};

} // namespace uriage::chart
