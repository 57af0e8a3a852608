#include "data/filter/filter.h"

#include "data/filter/filter_constant.h"
#include "data/filter/filter_expression.h"
#include "data/filter/filter_parser.h"

namespace uriage::data {
namespace {

class TreeFilter : public CompiledFilter {
public:
    TreeFilter(std::unique_ptr<filter::Node> root, const RegionalSettings& settings)
        : root_(std::move(root)), settings_(settings) {}

    bool passes(const Row& row) const override { return filter::holds(*root_, row, settings_); }

private:
    std::unique_ptr<filter::Node> root_;
    RegionalSettings settings_;
};

} // namespace

// The settings (decimal separator, short date format) are those passed in when
// the compilation starts; the tree keeps them for LIKE's text forms.
std::unique_ptr<CompiledFilter> compileFilter(const QByteArray& filterText,
                                              const std::vector<ColumnInfo>& columns,
                                              const QString& componentName,
                                              const RegionalSettings& settings)
{
    auto root = filter::parseFilter(filterText, columns, componentName, filter::decimalSeparatorByte(settings));
    filter::convertConstants(*root, settings);
    return std::make_unique<TreeFilter>(std::move(root), settings);
}

} // namespace uriage::data
