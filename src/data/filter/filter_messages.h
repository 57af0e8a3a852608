#pragma once
// The messages a filter text can fail with, exactly as the user reads them.
#include "common/failure.h"

#include <QString>

namespace uriage::data::filter::message {

inline QString invalidCharacter(const QString& character)
{
    return QStringLiteral("フィルター式に不正な文字 '%1' が含まれています。").arg(character);
}
inline QString unterminatedText() { return QStringLiteral("文字列定数が不完全です"); }
inline QString unterminatedName() { return QStringLiteral("項目名が不完全です"); }
inline QString wrongKeyword() { return QStringLiteral("キーワードが間違っています"); }
// The quoted token is "'text'" or "なにもありません" (see quoted()).
inline QString operandExpected(const QString& token)
{
    return QStringLiteral("式が必要な場所に %1。").arg(token);
}
inline QString closingParenExpected(const QString& token)
{
    return QStringLiteral("')' が必要な場所に%1があります。").arg(token);
}
inline QString openingParenExpected(const QString& token)
{
    return QStringLiteral("'(' が必要なところに %1 が現れました。").arg(token);
}
inline QString listSeparatorExpected(const QString& token)
{
    return QStringLiteral("')' または ',' が必要なところに %1 が現れました。").arg(token);
}
inline QString emptyInList() { return QStringLiteral("IN 述語のリストは空であってはならない"); }
inline QString arithmetic() { return QStringLiteral("フィルター式中の数値演算はサポートされていません"); }
inline QString trailingTokens() { return QStringLiteral("フィルター式が正しく終わっていません"); }
inline QString notACondition() { return QStringLiteral("フィルター式の形式が正しくありません"); }
inline QString typeMismatch() { return QStringLiteral("式内の型不一致"); }
inline QString columnNotFound(const QString& name)
{
    return QStringLiteral("項目 '%1' が見つかりません").arg(name);
}
inline QString notAWholeNumber(const QString& text)
{
    return QStringLiteral("'%1' は整数ではありません").arg(text);
}
inline QString notADecimalNumber(const QString& text)
{
    return QStringLiteral("'%1' は浮動小数点数ではありません").arg(text);
}
inline QString notADate(const QString& text)
{
    return QStringLiteral("'%1' は日付ではありません").arg(text);
}
inline QString outOfRange() { return QStringLiteral("定数が範囲を超えています"); }
inline QString nullOperator()
{
    return QStringLiteral("NULL は '=' または '<>' 以外と組み合わせることはできません");
}

} // namespace uriage::data::filter::message
