#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The characters a bank transfer file may carry in its name fields, and the conversion of what people type
// into them. The banks take half-width katakana without small kana, the voiced marks as characters of their
// own, digits, upper-case letters, the blank and the symbols ( ) - . / ; everything in one byte of Shift_JIS.
namespace ZenginKana {

// The name in the characters the banks take, as half-width Unicode: hiragana and full-width katakana become
// half-width katakana (voiced kana as kana plus mark), small kana large ones, ヲ ヰ ヱ the vowels the banks
// use for them, letters upper case, full-width digits, letters and symbols half-width, long vowel marks and
// dashes "-", the middle dot ".". Outer blanks go. Nothing when a character has no such form (a kanji, a
// comma); `failed` then holds it.
std::optional<QString> convert(const QString &text, QChar *failed = nullptr);

// True when every character is one the banks take (what convert returns).
bool isBankText(const QString &text);

// The Shift_JIS bytes of text made of such characters (one byte each: ASCII, or 0xA1..0xDF for the
// half-width katakana). A character outside the set becomes "?" (never reached through convert).
QByteArray encode(const QString &bankText);
// The way back, for reading a file.
QString decode(const QByteArray &bytes);

} // namespace ZenginKana
