#include "payment/ZenginKana.h"

#include <QHash>

namespace ZenginKana {

namespace {

constexpr char16_t kVoiced = 0xFF9E;     // ﾞ
constexpr char16_t kSemiVoiced = 0xFF9F; // ﾟ

// Full-width katakana ァ (U+30A1) .. ヶ (U+30F6) in half-width form, small kana already enlarged and the
// old kana ヰ ヱ ヲ replaced by the vowels the banks write for them.
const char16_t *const kKatakana[] = {
    u"ｱ", u"ｱ", u"ｲ", u"ｲ", u"ｳ", u"ｳ", u"ｴ", u"ｴ", u"ｵ", u"ｵ",                       // ァアィイゥウェエォオ
    u"ｶ", u"ｶﾞ", u"ｷ", u"ｷﾞ", u"ｸ", u"ｸﾞ", u"ｹ", u"ｹﾞ", u"ｺ", u"ｺﾞ",                   // カガキギクグケゲコゴ
    u"ｻ", u"ｻﾞ", u"ｼ", u"ｼﾞ", u"ｽ", u"ｽﾞ", u"ｾ", u"ｾﾞ", u"ｿ", u"ｿﾞ",                   // サザシジスズセゼソゾ
    u"ﾀ", u"ﾀﾞ", u"ﾁ", u"ﾁﾞ", u"ﾂ", u"ﾂ", u"ﾂﾞ", u"ﾃ", u"ﾃﾞ", u"ﾄ", u"ﾄﾞ",            // タダチヂッツヅテデトド
    u"ﾅ", u"ﾆ", u"ﾇ", u"ﾈ", u"ﾉ",                                                      // ナニヌネノ
    u"ﾊ", u"ﾊﾞ", u"ﾊﾟ", u"ﾋ", u"ﾋﾞ", u"ﾋﾟ", u"ﾌ", u"ﾌﾞ", u"ﾌﾟ", u"ﾍ", u"ﾍﾞ", u"ﾍﾟ", // ハバパヒビピフブプヘベペ
    u"ﾎ", u"ﾎﾞ", u"ﾎﾟ",                                                                // ホボポ
    u"ﾏ", u"ﾐ", u"ﾑ", u"ﾒ", u"ﾓ",                                                      // マミムメモ
    u"ﾔ", u"ﾔ", u"ﾕ", u"ﾕ", u"ﾖ", u"ﾖ",                                                // ャヤュユョヨ
    u"ﾗ", u"ﾘ", u"ﾙ", u"ﾚ", u"ﾛ",                                                      // ラリルレロ
    u"ﾜ", u"ﾜ", u"ｲ", u"ｴ", u"ｵ", u"ﾝ", u"ｳﾞ", u"ｶ", u"ｹ",                             // ヮワヰヱヲンヴヵヶ
};

// Half-width kana the banks do not take, and what they become: ｦ and the small kana ｧ..ｯ (U+FF66..U+FF6F).
const char16_t *const kHalfSmall[] = {u"ｵ", u"ｱ", u"ｲ", u"ｳ", u"ｴ", u"ｵ", u"ﾔ", u"ﾕ", u"ﾖ", u"ﾂ"};

const QHash<char16_t, char16_t> &symbols()
{
    static const QHash<char16_t, char16_t> map{
        {u' ', u' '},    {0x3000, u' '},  {u'(', u'('},    {0xFF08, u'('},  {u')', u')'},   {0xFF09, u')'},
        {u'-', u'-'},    {0xFF0D, u'-'},  {0x30FC, u'-'},  {0xFF70, u'-'},  {0x2010, u'-'}, {0x2011, u'-'},
        {0x2012, u'-'},  {0x2013, u'-'},  {0x2014, u'-'},  {0x2015, u'-'},  {0x2212, u'-'}, {u'.', u'.'},
        {0xFF0E, u'.'},  {0x30FB, u'.'},  {0xFF65, u'.'},  {u'/', u'/'},    {0xFF0F, u'/'},
        {0x309B, kVoiced}, {0x3099, kVoiced}, {kVoiced, kVoiced},
        {0x309C, kSemiVoiced}, {0x309A, kSemiVoiced}, {kSemiVoiced, kSemiVoiced},
    };
    return map;
}

bool isBankChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || u == u' ' || u == u'(' || u == u')'
        || u == u'-' || u == u'.' || u == u'/' || (u >= 0xFF71 && u <= 0xFF9F);
}

// One character in bank form, or nothing.
std::optional<QString> one(char16_t u)
{
    if (u >= 0x3041 && u <= 0x3096)
        u = char16_t(u + 0x60); // hiragana to katakana
    if (u >= 0x30A1 && u <= 0x30F6)
        return QString::fromUtf16(kKatakana[u - 0x30A1]);
    if (u >= 0xFF66 && u <= 0xFF6F)
        return QString::fromUtf16(kHalfSmall[u - 0xFF66]);
    if (u >= 0xFF71 && u <= 0xFF9D)
        return QString(QChar(u));
    if (u >= 0xFF10 && u <= 0xFF19)
        u = char16_t(u - 0xFF10 + u'0');
    else if (u >= 0xFF21 && u <= 0xFF3A)
        u = char16_t(u - 0xFF21 + u'A');
    else if (u >= 0xFF41 && u <= 0xFF5A)
        u = char16_t(u - 0xFF41 + u'A');
    else if (u >= u'a' && u <= u'z')
        u = char16_t(u - u'a' + u'A');
    if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z'))
        return QString(QChar(u));
    const auto it = symbols().constFind(u);
    if (it != symbols().constEnd())
        return QString(QChar(*it));
    return std::nullopt;
}

} // namespace

std::optional<QString> convert(const QString &text, QChar *failed)
{
    QString out;
    out.reserve(text.size() + 4);
    for (QChar c : text) {
        const auto converted = one(c.unicode());
        if (!converted) {
            if (failed)
                *failed = c;
            return std::nullopt;
        }
        out += *converted;
    }
    return out.trimmed();
}

bool isBankText(const QString &text)
{
    for (QChar c : text)
        if (!isBankChar(c))
            return false;
    return true;
}

QByteArray encode(const QString &bankText)
{
    QByteArray bytes;
    bytes.reserve(bankText.size());
    for (QChar c : bankText) {
        const char16_t u = c.unicode();
        if (!isBankChar(c))
            bytes += '?';
        else if (u >= 0xFF61)
            bytes += char(u - 0xFF61 + 0xA1);
        else
            bytes += char(u);
    }
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        text += u >= 0xA1 && u <= 0xDF ? QChar(char16_t(u - 0xA1 + 0xFF61)) : QChar(char16_t(u));
    }
    return text;
}

} // namespace ZenginKana
