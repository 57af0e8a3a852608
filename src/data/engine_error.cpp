#include "data/engine_error.h"

#include <QStringList>

namespace uriage::data {

QString engineStatusText(EngineStatus status)
{
    switch (status) {
    case EngineStatus::DirectoryMissing:
        return QStringLiteral("データディレクトリが見つかりません");
    case EngineStatus::TableFileMissing:
        return QStringLiteral("テーブルファイルが見つかりません");
    case EngineStatus::NotADatabase:
        return QStringLiteral("テーブルファイルがデータベースではないか、壊れています");
    case EngineStatus::Locked:
        return QStringLiteral("テーブルは他のプログラムによってロックされています");
    case EngineStatus::InterruptedWrite:
        return QStringLiteral("テーブルファイルに書き込み途中で中断された記録が残っています。"
                              "領収証のプログラムを一度起動して終了してから、もう一度実行してください");
    case EngineStatus::PermissionDenied:
        return QStringLiteral("アクセス権がありません");
    case EngineStatus::WalIndexMissing:
        return QStringLiteral("WAL 形式のテーブルファイルの共有メモリファイル (-shm) がなく、作成もできません。"
                              "領収証のプログラムを一度起動してから、もう一度実行してください");
    case EngineStatus::UnknownDatabase:
        return QStringLiteral("データベースが見つかりません");
    case EngineStatus::NotARegularFile:
        return QStringLiteral("データディレクトリに通常のファイルでないものがあります");
    case EngineStatus::ColumnMissing:
        return QStringLiteral("列が見つかりません");
    case EngineStatus::TableMissing:
        return QStringLiteral("テーブルが見つかりません");
    case EngineStatus::SqlRefused:
        return QStringLiteral("SQL 文を実行できません");
    case EngineStatus::TotalTooLarge:
        return QStringLiteral("合計が大きすぎます");
    case EngineStatus::ValueNotOfType:
        return QStringLiteral("列の値がその型として読めません");
    case EngineStatus::NotATable:
        return QStringLiteral("テーブルではありません");
    case EngineStatus::NoCursor:
        return QStringLiteral("カーソルハンドルの作成でエラーが発生しました");
    case EngineStatus::ReadError:
        return QStringLiteral("テーブルファイルの読み取り中にエラーが発生しました");
    case EngineStatus::TimeLimit:
        return QStringLiteral("テーブルの読み取りが時間の上限を超えたため中止しました");
    case EngineStatus::OutOfMemory:
        return QStringLiteral("メモリが不足しています");
    case EngineStatus::StartLibraryMissing:
    case EngineStatus::StartFailed:
        break;
    }
    return {};
}

namespace {

QString fourDigits(EngineStatus status) { return QStringLiteral("%1").arg(std::uint16_t(status), 4, 16, QChar('0')); }

QString messageOf(EngineStatus status, const std::vector<EngineDetail>& details, bool startFailed)
{
    if (startFailed)
        return QStringLiteral("データベースエンジンの初期化中にエラーが発生しました (エラー $") + fourDigits(status)
               + QChar(')');
    QStringList lines;
    auto add = [&lines](const QString& line) {
        if (!line.isEmpty() && !lines.contains(line))
            lines << line;
    };
    add(engineStatusText(status));
    for (const EngineDetail& detail : details) {
        if (detail.status)
            add(engineStatusText(*detail.status));
        add(detail.context);
    }
    if (lines.isEmpty())
        return QStringLiteral("データベースエンジンエラー $") + fourDigits(status);
    return lines.join(QChar('\n'));
}

} // namespace

EngineError::EngineError(EngineStatus status, std::vector<EngineDetail> details)
    : EngineError(status, std::move(details), false)
{
}

EngineError::EngineError(EngineStatus status, std::vector<EngineDetail> details, bool startFailed)
    : Failure(messageOf(status, details, startFailed)), status_(status), details_(std::move(details)),
      startFailed_(startFailed)
{
}

EngineError EngineError::whileStarting(EngineStatus status) { return EngineError(status, {}, true); }

QString directoryContext(const QString& path) { return QStringLiteral("ディレクトリ: ") + path; }
QString fileContext(const QString& path) { return QStringLiteral("ファイル: ") + path; }
QString tableContext(const QString& name) { return QStringLiteral("テーブル: ") + name; }
QString columnContext(const QString& name) { return QStringLiteral("列: ") + name; }
QString valueContext(const QString& value) { return QStringLiteral("値: ") + value; }

} // namespace uriage::data
