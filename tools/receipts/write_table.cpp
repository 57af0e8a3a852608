#include "write_table.h"

#include <QTextStream>

namespace receipts {

int writeReceiptTable(const QString& directory, bool replace, const std::function<void(ReceiptWriter&)>& fill)
{
    try {
        ReceiptWriter writer(directory, replace);
        fill(writer);
        const QString path = writer.finish();
        QTextStream(stdout) << writer.count() << " receipts written to " << path << '\n';
    } catch (const WriteError& e) {
        QTextStream(stderr) << "receipts: " << QString::fromStdString(e.what()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace receipts
