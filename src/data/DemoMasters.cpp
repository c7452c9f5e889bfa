#include "data/DemoMasters.h"

#include "data/SqlDialect.h"

#include <QString>
#include <array>

namespace {

// ---------------------------------------------------------------------------------------------------------
// SQL text helpers

// A text literal; nullptr (or an empty text) is NULL, as the register stores it.
QString sqlText(const char *utf8)
{
    return SqlDialect::text(QString::fromUtf8(utf8));
}

QString sqlText(const QString &text)
{
    return SqlDialect::text(text);
}

QString sqlNumber(long long value)
{
    return QString::number(value);
}

// Fees and other optional amounts: a negative value stands for Null.
QString sqlOptionalNumber(long long value)
{
    return value < 0 ? QStringLiteral("NULL") : QString::number(value);
}

QString insert(const char *table, const char *columns, const QStringList &values)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QLatin1String(table), QLatin1String(columns), values.join(QStringLiteral(", ")));
}

// EAN-13 check digit over the first twelve digits: weights 1 and 3 from the left.
QChar eanCheckDigit(const QString &twelveDigits)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += twelveDigits.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return QChar(QLatin1Char(char('0' + (10 - sum % 10) % 10)));
}

QString withCheckDigit(const QString &twelveDigits)
{
    return twelveDigits + eanCheckDigit(twelveDigits);
}

QString padded(long long value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------------------------------------
// Producers: 若葉県花咲郡実野里町 and its banks are made up, as are all names and numbers.

struct Producer
{
    int id;
    const char *name;
    const char *address;
    const char *tel;
    const char *labelTel;
    const char *notes;
    const char *bank;
    const char *branch;
    const char *accountKind;
    const char *accountNo;
    const char *accountName;
    int fee1; // transfers under 30,000 yen; -1 = Null
    int fee2; // 30,000 yen and more; -1 = Null
};

#define TOWN "若葉県花咲郡実野里町大字"
#define JA "実野里町農業協同組合"
#define WAKABA "若葉中央銀行"
#define HANASAKI "花咲信用金庫"
#define SHINONOME "東雲信用組合"

const Producer kProducers[] = {
    {1, "佐野 隆之", TOWN "上実野1021", "028-812-3104", "812-3104", "トマト・ミニトマト",
     JA, "上実野支所", "普通", "3012457", "ｻﾉ ﾀｶﾕｷ", 220, 440},
    {2, "小松 澄子", TOWN "上実野1187-2", "028-812-3377", "812-3377", "漬物・味噌",
     JA, "上実野支所", "普通", "3018820", "ｺﾏﾂ ｽﾐｺ", 220, 440},
    {3, "大森 健一", TOWN "下実野455", "028-812-5261", "812-5261", "米・もち米・大豆",
     JA, "本所", "普通", "1104563", "ｵｵﾓﾘ ｹﾝｲﾁ", 220, 440},
    {4, "原田 美代子", TOWN "下実野602-1", "080-4217-3390", "080-4217-3390", nullptr,
     WAKABA, "実野里支店", "普通", "2245019", "ﾊﾗﾀﾞ ﾐﾖｺ", 330, 550},
    {5, "石井 茂", TOWN "川向38", "028-813-0442", "813-0442", "果樹（梨・桃・柿）",
     JA, "本所", "普通", "1120976", "ｲｼｲ ｼｹﾞﾙ", 220, 440},
    {6, "村上 和子", TOWN "川向117", "028-813-0918", "813-0918", "切り花・花苗",
     HANASAKI, "中里支店", "普通", "0561234", "ﾑﾗｶﾐ ｶｽﾞｺ", 330, 550},
    {7, "高野 誠", TOWN "東原2250", "028-814-2271", "814-2271", "いちご（11月～5月）",
     JA, "東原支所", "普通", "4002318", "ﾀｶﾉ ﾏｺﾄ", 220, 440},
    {8, "菅原 ひろみ", TOWN "東原1893-4", "090-6631-2085", "090-6631-2085", "平飼いたまご",
     JA, "東原支所", "普通", "4011502", "ｽｶﾞﾜﾗ ﾋﾛﾐ", 220, 440},
    {9, "中沢 勝男", TOWN "西沢76", "028-815-0063", "815-0063", "原木しいたけ・山菜",
     WAKABA, "花咲支店", "普通", "2310778", "ﾅｶｻﾞﾜ ｶﾂｵ", 330, 550},
    {10, "松井 千代", TOWN "西沢301", "028-815-0715", nullptr, "おはぎ・赤飯は土日のみ",
     JA, "本所", "普通", "1135589", "ﾏﾂｲ ﾁﾖ", 220, 440},
    {11, "岡部 正樹", TOWN "桜台3-14", "080-2950-7712", "080-2950-7712", "ブルーベリー・ジャム",
     HANASAKI, "本店", "普通", "0103347", "ｵｶﾍﾞ ﾏｻｷ", 330, 550},
    {12, "関口 幸子", TOWN "桜台5-2", "028-816-4420", "816-4420", nullptr,
     JA, "本所", "普通", "1147730", "ｾｷｸﾞﾁ ｻﾁｺ", 220, 440},
    {13, "野口 浩二", TOWN "中里890", "028-817-1136", "817-1136", "山菜（春）・栗（秋）",
     SHINONOME, "本店", "普通", "0020481", "ﾉｸﾞﾁ ｺｳｼﾞ", 440, 660},
    {14, "桑原 トミ", TOWN "中里1304", "028-817-1580", nullptr, "電話は午前中",
     JA, "本所", "普通", "1150062", "ｸﾜﾊﾞﾗ ﾄﾐ", 220, 440},
    {15, "飯田 修", TOWN "上実野2416", "028-812-6093", "812-6093", "すいか・メロン",
     JA, "上実野支所", "普通", "3025194", "ｲｲﾀﾞ ｵｻﾑ", 220, 440},
    {16, "荒木 恵美", TOWN "下実野1770-3", "090-3318-5546", "090-3318-5546", "手作りパン・焼き菓子",
     WAKABA, "実野里支店", "普通", "2259863", "ｱﾗｷ ｴﾐ", 330, 550},
    {17, "望月 大輔", TOWN "川向502", "028-813-4407", "813-4407", "アスパラガス",
     JA, "本所", "当座", "0008127", "ﾓﾁﾂﾞｷ ﾀﾞｲｽｹ", 220, 440},
    {18, "久保田 信子", TOWN "東原655", "028-814-3852", "814-3852", nullptr,
     JA, "東原支所", "普通", "4020775", "ｸﾎﾞﾀ ﾉﾌﾞｺ", 220, 440},
    {19, "内田 昭", TOWN "西沢1122", "028-815-2299", "815-2299", "梅・梅干し",
     HANASAKI, "中里支店", "普通", "0578816", "ｳﾁﾀﾞ ｱｷﾗ", 330, 550},
    {20, "北村 里美", TOWN "桜台1-8", "080-5573-0126", "080-5573-0126", nullptr,
     JA, "本所", "普通", "1162405", "ｷﾀﾑﾗ ｻﾄﾐ", 220, 440},
    {21, "平野 清", TOWN "中里47", "028-817-0374", "817-0374", "れんこん・ごぼう",
     JA, "本所", "普通", "1171938", "ﾋﾗﾉ ｷﾖｼ", 220, 440},
    {22, "古川 房子", TOWN "上実野3008", "028-812-7731", "812-7731", "こんにゃく・餅",
     JA, "上実野支所", "普通", "3031667", "ﾌﾙｶﾜ ﾌｻｺ", 220, 440},
    {23, "西田 俊介", TOWN "下実野233", "090-8804-6617", "090-8804-6617", "蜂蜜（採蜜は6月）",
     SHINONOME, "本店", "普通", "0034152", "ﾆｼﾀﾞ ｼｭﾝｽｹ", 440, 660},
    {24, "増田 公子", TOWN "川向860-1", "028-813-5526", "813-5526", nullptr,
     JA, "本所", "普通", "1183026", "ﾏｽﾀﾞ ｷﾐｺ", 220, 440},
    // Registered before the account was reported: no bank data and no fees yet.
    {25, "上野 義雄", TOWN "東原3105", "028-814-6140", nullptr, "口座届出待ち",
     nullptr, nullptr, nullptr, nullptr, nullptr, -1, -1},
    {26, "有限会社 実野里ファーム", TOWN "西沢1500", "028-815-8800", "815-8800", "法人・果樹と米",
     WAKABA, "花咲支店", "当座", "0912044", "ﾕ) ﾐﾉﾘﾌｧｰﾑ", 330, 550},
    // The quote sits in NOTES on purpose: names, item names and account fields are copied into sale and payment
    // rows by statements that do not double quotes, NOTES never is.
    {27, "ケリー・オブライエン", TOWN "桜台2-21", "080-7012-4493", "080-7012-4493",
     "O'Brien's Berry Farm（英語可）", HANASAKI, "本店", "普通", "0119920", "ｵﾌﾞﾗｲｴﾝ ｹﾘｰ", 330, 550},
    {101, "上実野 味噌加工グループ", TOWN "上実野1500 上実野公民館内", "028-812-0101", "812-0101",
     "代表 小松 澄子", JA, "上実野支所", "普通", "3040011", "ｶﾐﾐﾉ ﾐｿｶｺｳｸﾞﾙｰﾌﾟ", 220, 440},
    {102, "トムズ ハーブ園", TOWN "中里2033", "090-2287-9015", "090-2287-9015", "ハーブ苗・ジャム",
     WAKABA, "実野里支店", "普通", "2276401", "ﾄﾑｽﾞ ﾊｰﾌﾞｴﾝ", 330, 550},
    // The agricultural high school: the shop bears the transfer fee, so none is set.
    {1205, "実野里農業高校 農業科", TOWN "中里1205", "028-817-1205", "817-1205", "実習生産品",
     HANASAKI, "中里支店", "普通", "0590137", "ﾐﾉﾘﾉｳｷﾞｮｳｺｳｺｳ", -1, -1},
};

#undef TOWN
#undef JA
#undef WAKABA
#undef HANASAKI
#undef SHINONOME

// ---------------------------------------------------------------------------------------------------------
// Products and their registered barcodes.
// Unit codes: 1 個, 2 袋, 3 パック, 4 束, 5 本.

struct Product
{
    int id;
    const char *name;
    int unit;
    int price;                    // yen of the plain article
    std::array<int, 3> producers; // who sells it: plain, large and small article in this order
};

const Product kProducts[] = {
    {1, "トマト", 3, 250, {1, 12, 1205}},
    {2, "ミニトマト", 3, 200, {1, 18, 20}},
    {3, "きゅうり", 2, 150, {4, 12, 24}},
    {4, "なす", 2, 150, {4, 14, 18}},
    {5, "ピーマン", 2, 100, {14, 20, 24}},
    {6, "朝採れレタス", 1, 150, {12, 18, 1205}},
    {7, "キャベツ", 1, 180, {3, 14, 24}},
    {8, "白菜", 1, 200, {3, 14, 21}},
    {9, "大根", 5, 130, {14, 21, 24}},
    {10, "人参", 2, 150, {12, 21, 1205}},
    {11, "玉ねぎ", 2, 200, {3, 4, 20}},
    {12, "じゃがいも", 2, 200, {3, 20, 1205}},
    {13, "さつまいも", 2, 250, {15, 21, 24}},
    {14, "里芋", 2, 300, {14, 21, 25}},
    {15, "長ねぎ", 4, 150, {12, 18, 24}},
    {16, "ほうれん草", 4, 130, {4, 18, 20}},
    {17, "小松菜", 4, 120, {4, 12, 20}},
    {18, "春菊", 4, 150, {14, 18, 24}},
    {19, "水菜", 4, 120, {12, 20, 25}},
    {20, "ブロッコリー", 1, 180, {1, 15, 17}},
    {21, "カリフラワー", 1, 200, {1, 17, 18}},
    {22, "かぼちゃ", 1, 300, {15, 21, 25}},
    {23, "ズッキーニ", 5, 100, {17, 27, 102}},
    {24, "オクラ", 3, 130, {4, 18, 24}},
    {25, "枝豆", 2, 300, {3, 15, 20}},
    {26, "とうもろこし", 5, 150, {15, 17, 1205}},
    {27, "いんげん", 2, 150, {14, 18, 25}},
    {28, "スナップエンドウ", 2, 200, {1, 17, 20}},
    {29, "そら豆", 2, 250, {14, 17, 24}},
    {30, "アスパラガス", 4, 350, {17, 12, 1205}},
    {31, "ゴーヤ", 5, 150, {4, 24, 25}},
    {32, "しし唐", 3, 100, {14, 20, 24}},
    {33, "甘長とうがらし", 3, 150, {4, 14, 20}},
    {34, "ごぼう", 4, 200, {21, 13, 25}},
    {35, "れんこん", 2, 400, {21, 24, 3}},
    {36, "かぶ", 4, 150, {12, 18, 1205}},
    {37, "ラディッシュ", 4, 120, {27, 102, 20}},
    {38, "生姜", 2, 200, {21, 14, 25}},
    {39, "にんにく", 2, 350, {3, 17, 21}},
    {40, "みょうが", 3, 200, {13, 19, 22}},
    {41, "大葉", 3, 100, {4, 102, 18}},
    {42, "ニラ", 4, 100, {12, 18, 24}},
    {43, "セロリ", 5, 150, {17, 27, 1}},
    {44, "パセリ", 4, 100, {102, 27, 12}},
    {45, "たけのこ", 5, 500, {13, 22, 19}},
    {46, "ふきのとう", 3, 250, {13, 22, 9}},
    {47, "菜の花", 4, 150, {6, 14, 20}},
    {48, "山うど", 4, 300, {13, 9, 22}},
    {49, "わらび", 4, 250, {13, 9, 19}},
    {50, "しいたけ", 3, 250, {9, 13, 26}},
    {51, "なめこ", 2, 150, {9, 26, 13}},
    {52, "えのき茸", 2, 100, {26, 9, 21}},
    {53, "舞茸", 3, 300, {9, 26, 13}},
    {54, "いちご", 3, 500, {7, 11, 26}},
    {55, "ブルーベリー", 3, 400, {11, 27, 7}},
    {56, "すいか", 1, 1280, {15, 26, 3}},
    {57, "メロン", 1, 980, {15, 26, 7}},
    {58, "桃", 3, 680, {5, 26, 11}},
    {59, "ぶどう", 1, 700, {5, 26, 11}},
    {60, "梨", 2, 500, {5, 26, 19}},
    {61, "柿", 2, 300, {5, 19, 13}},
    {62, "りんご", 2, 400, {5, 26, 11}},
    {63, "みかん", 2, 300, {19, 5, 22}},
    {64, "キウイフルーツ", 2, 300, {11, 19, 27}},
    {65, "いちじく", 3, 400, {19, 11, 5}},
    {66, "梅", 2, 450, {19, 5, 13}},
    {67, "ゆず", 2, 250, {13, 19, 22}},
    {68, "栗", 2, 500, {13, 5, 9}},
    {69, "すもも", 3, 350, {5, 19, 11}},
    {70, "精米 2kg", 2, 980, {3, 26, 21}},
    {71, "玄米 2kg", 2, 900, {3, 26, 15}},
    {72, "もち米", 2, 700, {3, 22, 26}},
    {73, "平飼いたまご", 3, 300, {8, 26, 1205}},
    {74, "大豆", 2, 400, {3, 21, 101}},
    {75, "小豆", 2, 450, {3, 22, 101}},
    {76, "手作り味噌", 2, 600, {101, 2, 22}},
    {77, "梅干し", 3, 500, {19, 2, 101}},
    {78, "たくあん漬け", 2, 350, {2, 101, 14}},
    {79, "白菜漬け", 2, 300, {2, 101, 18}},
    {80, "きゅうりのぬか漬け", 2, 200, {2, 101, 4}},
    {81, "しば漬け", 2, 300, {2, 101, 10}},
    {82, "切り干し大根", 2, 250, {2, 14, 21}},
    {83, "干し柿", 3, 500, {5, 13, 10}},
    {84, "手作りこんにゃく", 2, 250, {22, 101, 10}},
    {85, "よもぎ餅", 3, 350, {10, 22, 101}},
    {86, "おはぎ", 3, 400, {10, 22, 2}},
    {87, "赤飯", 3, 450, {10, 22, 101}},
    {88, "いちごジャム", 1, 550, {11, 7, 102}},
    {89, "ブルーベリージャム", 1, 600, {11, 27, 102}},
    {90, "トマトジュース", 5, 480, {1, 1205, 26}},
    {91, "切り餅", 2, 600, {22, 3, 10}},
    {92, "乾燥しいたけ", 2, 650, {9, 13, 26}},
    {93, "手作りパン", 2, 300, {16, 10, 102}},
    {94, "かりんとう", 2, 250, {16, 10, 22}},
    {95, "蜂蜜", 5, 980, {23, 13, 27}},
    {96, "切り花（仏花）", 4, 400, {6, 20, 24}},
    {97, "切り花（小菊）", 4, 300, {6, 14, 18}},
    {98, "野菜苗", 1, 100, {6, 1205, 102}},
    {99, "鉢花", 1, 500, {6, 102, 1205}},
    {100, "花苗", 1, 120, {6, 102, 20}},
};

// The three articles of a product: plain and large carry the producer's own JAN code, the small one a code
// the shop registered itself (prefix 20-29).
struct Article
{
    const char *suffix;
    int pricePermille;
};
const Article kArticles[3] = {{"", 1000}, {"（大）", 1500}, {"（小）", 700}};

// A producer's JAN company prefix: "45" or "49" and five digits that differ for every demo producer.
QString janCompanyPrefix(int producerId)
{
    return QLatin1String(producerId % 2 == 0 ? "49" : "45") + padded(10000 + (producerId * 613) % 90000, 5);
}

int articlePrice(const Product &product, int article, int producerId)
{
    // Rounded to tens of yen; producers differ by ten yen either way.
    const int price = (product.price * kArticles[article].pricePermille + 5000) / 10000 * 10
        + (producerId % 3 - 1) * 10;
    return price < 100 ? 100 : price;
}

void appendBarcodes(QStringList &out)
{
    int shopSequence = 0;
    for (const Product &product : kProducts) {
        for (int article = 0; article < 3; ++article) {
            const int producerId = product.producers[size_t(article)];
            QString code;
            if (article < 2) {
                code = withCheckDigit(janCompanyPrefix(producerId) + padded(product.id * 10 + article, 5));
            } else {
                // 2 + product's last digit, producer (4), product (3), running number (3), check digit.
                code = withCheckDigit(QLatin1Char('2') + QString::number(product.id % 10)
                                      + padded(producerId, 4) + padded(product.id, 3)
                                      + padded(shopSequence++, 3));
            }
            const QString name = QString::fromUtf8(product.name) + QString::fromUtf8(kArticles[article].suffix);
            out << insert("M_PRD_BCD", "BCD, PRD_ID, FMR_ID, BCD_NM, PRC, UNIT_ID",
                          {sqlText(code), sqlNumber(product.id), sqlNumber(producerId), sqlText(name),
                           sqlNumber(articlePrice(product, article, producerId)), sqlNumber(product.unit)});
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Sexagenary cycle: the k-th name (甲子 = 0th) is stem k mod 10 and branch k mod 12; it is stored under ID k,
// and 甲子 under 60, so that the day number 1..60 of the calendar finds its name.

void appendEto(QStringList &out)
{
    static const char *const stems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
    static const char *const branches[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                             "午", "未", "申", "酉", "戌", "亥"};
    for (int id = 1; id <= 60; ++id) {
        const int k = id % 60;
        const QString name = QString::fromUtf8(stems[k % 10]) + QString::fromUtf8(branches[k % 12]);
        out << insert("L_ETO", "ID, ETO_YM", {sqlNumber(id), sqlText(name)});
    }
}

// ---------------------------------------------------------------------------------------------------------
// Birth flowers: a flower of the season for every day, with its usual flower words in WD1..WD9.

struct Flower
{
    const char *name;
    std::array<const char *, 9> words; // nullptr = Null column
};

const Flower kFlowers[] = {
    {"スイセン", {"自己愛", "神秘", "うぬぼれ"}},
    {"フクジュソウ", {"幸せを招く", "永久の幸福"}},
    {"ロウバイ", {"ゆかしさ", "慈愛"}},
    {"ナンテン", {"私の愛は増すばかり", "良い家庭"}},
    {"ツバキ", {"控えめな優しさ", "誇り"}},
    {"ハボタン", {"祝福", "愛を包む"}},
    {"シクラメン", {"遠慮", "気後れ", "内気", "はにかみ"}},
    {"スノードロップ", {"希望", "慰め"}},
    {"パンジー", {"もの思い", "私を思って"}},
    {"マンリョウ", {"寿ぎ", "固い契約", "財産"}},
    {"ウメ", {"高潔", "忍耐", "気品"}},
    {"セツブンソウ", {"光輝", "気品"}},
    {"ネコヤナギ", {"自由", "率直"}},
    {"フリージア", {"あどけなさ", "無邪気", "親愛の情"}},
    {"ストック", {"永遠の美", "愛の絆"}},
    {"クロッカス", {"青春の喜び", "切望"}},
    {"マンサク", {"ひらめき", "呪文"}},
    {"ミモザ", {"友情", "感謝", "秘密の恋"}},
    {"ジンチョウゲ", {"栄光", "不死", "永遠"}},
    {"ヒヤシンス", {"スポーツ", "ゲーム", "悲しみを超えた愛"}},
    {"ボケ", {"先駆者", "平凡"}},
    {"ナノハナ", {"快活", "明るさ", "小さな幸せ"}},
    {"モモ", {"気立ての良さ", "私はあなたのとりこ", "天下無敵"}},
    {"スイートピー", {"門出", "優しい思い出", "ほのかな喜び"}},
    {"チューリップ", {"思いやり", "博愛"}},
    {"ミツマタ", {"肉親の絆", "意外な思い"}},
    {"アネモネ", {"はかない恋", "期待", "真実"}},
    {"ハクモクレン", {"自然への愛", "気高さ"}},
    {"ユキヤナギ", {"愛らしさ", "殊勝"}},
    {"スミレ", {"謙虚", "誠実", "小さな幸せ"}},
    {"サクラ", {"精神の美", "優美な女性"}},
    {"タンポポ", {"真心の愛", "神託", "別離"}},
    {"レンゲソウ", {"心が和らぐ", "あなたと一緒なら苦痛が和らぐ"}},
    {"ハナミズキ", {"返礼", "私の想いを受けてください"}},
    {"ヤマブキ", {"気品", "崇高"}},
    {"ライラック", {"思い出", "友情"}},
    {"エンドウ", {"必ず来る幸福", "約束"}},
    {"イチゴ", {"尊重と愛情", "幸福な家庭"}},
    {"ワスレナグサ", {"私を忘れないで", "真実の愛"}},
    {"シバザクラ", {"合意", "臆病な心"}},
    {"ポピー", {"いたわり", "思いやり"}},
    {"マーガレット", {"恋占い", "真実の愛", "信頼"}},
    {"スズラン", {"再び幸せが訪れる", "純粋", "謙遜"}},
    {"カーネーション", {"無垢で深い愛", "感覚"}},
    {"ツツジ", {"節度", "慎み"}},
    {"フジ", {"優しさ", "歓迎", "決して離れない"}},
    {"ボタン", {"王者の風格", "富貴", "恥じらい"}},
    {"シャクヤク", {"恥じらい", "謙遜", "はにかみ"}},
    {"バラ", {"愛", "美"}},
    {"カスミソウ", {"清らかな心", "感謝", "幸福"}},
    {"アヤメ", {"よい便り", "メッセージ"}},
    {"ジャガイモ", {"恩恵", "慈愛"}},
    {"ルピナス", {"想像力", "いつも幸せ"}},
    {"ガーベラ", {"希望", "常に前進"}},
    {"アジサイ", {"移り気", "辛抱強い愛情", "家族団らん"}},
    {"ハナショウブ", {"優しい心", "伝言", "うれしい知らせ"}},
    {"クチナシ", {"とても幸せです", "喜びを運ぶ", "洗練"}},
    {"ドクダミ", {"白い追憶", "野生"}},
    {"ホタルブクロ", {"正義", "忠実"}},
    {"トケイソウ", {"聖なる愛", "信仰"}},
    {"ユリ", {"純粋", "威厳"}},
    {"ラベンダー", {"沈黙", "期待", "あなたを待っています"}},
    {"ナス", {"つつましい幸福"}},
    {"ツユクサ", {"尊敬", "なつかしい関係"}},
    {"ゼラニウム", {"尊敬", "信頼"}},
    {"ジャスミン", {"愛想のよい", "優美"}},
    {"アサガオ", {"愛情", "結束", "固い絆"}},
    {"ハス", {"清らかな心", "神聖", "雄弁"}},
    {"ヒマワリ", {"あなただけを見つめる", "憧れ", "情熱"}},
    {"ムクゲ", {"信念", "新しい美"}},
    {"ノウゼンカズラ", {"名声", "名誉"}},
    {"キキョウ", {"永遠の愛", "誠実", "気品"}},
    {"ホウセンカ", {"私に触れないで", "短気"}},
    {"ペチュニア", {"あなたと一緒なら心がなごむ"}},
    {"マリーゴールド", {"信頼", "予言", "健康"}},
    {"オシロイバナ", {"臆病な愛", "内気"}},
    {"ナデシコ", {"純愛", "無邪気", "大胆"}},
    {"トマト", {"完成美", "感謝"}},
    {"サルスベリ", {"雄弁", "愛嬌"}},
    {"ケイトウ", {"おしゃれ", "風変わり"}},
    {"センニチコウ", {"色あせぬ愛", "不朽"}},
    {"オミナエシ", {"美人", "親切"}},
    {"ダリア", {"華麗", "優雅", "気品"}},
    {"ヒガンバナ", {"情熱", "再会", "また会う日を楽しみに"}},
    {"ハギ", {"思案", "内気", "柔軟な精神"}},
    {"ススキ", {"活力", "心が通じる"}},
    {"リンドウ", {"正義", "誠実", "悲しんでいるあなたを愛する"}},
    {"ワレモコウ", {"変化", "移ろい"}},
    {"フジバカマ", {"ためらい", "あの日を思い出す"}},
    {"シュウメイギク", {"薄れゆく愛", "忍耐"}},
    {"コスモス", {"乙女の真心", "調和", "謙虚"}},
    {"シオン", {"追憶", "君を忘れない"}},
    {"キンモクセイ", {"謙虚", "気高い人", "真実", "初恋"}},
    {"キク", {"高貴", "高潔", "真実"}},
    {"アスター", {"信じる恋", "追憶"}},
    {"ツワブキ", {"困難に負けない", "謙譲"}},
    {"ホトトギス", {"秘めた意志", "永遠にあなたのもの"}},
    {"カキ", {"優美", "自然美", "恵み"}},
    {"サザンカ", {"困難に打ち克つ", "ひたむきさ"}},
    // The words of this one sit in scattered columns, as old lists often have them.
    {"ヒイラギ", {nullptr, "用心深さ", nullptr, nullptr, "先見の明", nullptr, nullptr, nullptr, "保護"}},
    {"ダイコン", {"適応力", "潔白"}},
    {"カランコエ", {"幸福を告げる", "たくさんの小さな思い出"}},
    {"ユズ", {"健康美", "汚れなき人"}},
    {"ミカン", {"親愛", "花嫁の喜び"}},
    {"ポインセチア", {"祝福する", "聖夜", "私の心は燃えている"}},
    {"カトレア", {"優美な貴婦人", "魔力"}},
};

// Flowers of each month, given to the days in turn.
const char *const kMonthFlowers[12] = {
    "スイセン フクジュソウ ロウバイ ナンテン ツバキ ハボタン シクラメン スノードロップ パンジー マンリョウ",
    "ウメ セツブンソウ ネコヤナギ フリージア ストック クロッカス マンサク ミモザ ジンチョウゲ ヒヤシンス ボケ",
    "ナノハナ モモ スイートピー チューリップ ミツマタ アネモネ ハクモクレン ユキヤナギ スミレ ジンチョウゲ",
    "サクラ タンポポ レンゲソウ ハナミズキ ヤマブキ ライラック エンドウ イチゴ ワスレナグサ シバザクラ ポピー マーガレット",
    "スズラン カーネーション ツツジ フジ ボタン シャクヤク バラ カスミソウ アヤメ ジャガイモ ルピナス ガーベラ",
    "アジサイ ハナショウブ クチナシ ドクダミ ホタルブクロ トケイソウ ユリ ラベンダー ナス ツユクサ ゼラニウム ジャスミン",
    "アサガオ ハス ヒマワリ ムクゲ ノウゼンカズラ キキョウ ホウセンカ ペチュニア マリーゴールド オシロイバナ ナデシコ トマト",
    "ヒマワリ サルスベリ ケイトウ センニチコウ オミナエシ ダリア ハス アサガオ ムクゲ キキョウ ナデシコ",
    "ヒガンバナ ハギ ススキ リンドウ ワレモコウ フジバカマ シュウメイギク コスモス オミナエシ キキョウ シオン",
    "キンモクセイ コスモス キク リンドウ アスター ワレモコウ シュウメイギク ツワブキ ケイトウ ホトトギス カキ",
    "キク サザンカ ツワブキ ヒイラギ ダイコン シクラメン カランコエ ストック パンジー ユズ ミカン",
    "ポインセチア シクラメン サザンカ ヒイラギ カトレア スイセン ツバキ ナンテン マンリョウ カランコエ ハボタン ロウバイ",
};

const Flower *findFlower(const QString &name)
{
    for (const Flower &flower : kFlowers) {
        if (name == QString::fromUtf8(flower.name))
            return &flower;
    }
    return nullptr;
}

void appendFlowers(QStringList &out)
{
    static const int daysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    static const Flower leapDay = {"ユキワリソウ", {}}; // a name without words: the day information copes
    for (int month = 1; month <= 12; ++month) {
        const QStringList names = QString::fromUtf8(kMonthFlowers[month - 1]).split(QLatin1Char(' '));
        for (int day = 1; day <= daysInMonth[month - 1]; ++day) {
            const Flower *flower = (month == 2 && day == 29) ? &leapDay
                                                             : findFlower(names.at((day - 1) % names.size()));
            QStringList values{sqlNumber(month * 100 + day)};
            values << sqlText(flower ? flower->name : nullptr);
            for (int i = 0; i < 9; ++i)
                values << sqlText(flower ? flower->words[size_t(i)] : nullptr);
            out << insert("L_FWD", "MD, NM, WD1, WD2, WD3, WD4, WD5, WD6, WD7, WD8, WD9", values);
        }
    }
}

} // namespace

namespace DemoMasters {

QStringList masterInserts()
{
    QStringList out;
    for (const Producer &p : kProducers) {
        out << insert("M_FMR",
                      "FMR_ID, FMR_NM, ADRS, TEL_NO_L, TEL_NO_S, NOTES, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, "
                      "FEE_1, FEE_2",
                      {sqlNumber(p.id), sqlText(p.name), sqlText(p.address), sqlText(p.tel), sqlText(p.labelTel),
                       sqlText(p.notes), sqlText(p.bank), sqlText(p.branch), sqlText(p.accountKind),
                       sqlText(p.accountNo), sqlText(p.accountName), sqlOptionalNumber(p.fee1),
                       sqlOptionalNumber(p.fee2)});
    }
    for (const Product &product : kProducts)
        out << insert("M_PRD", "PRD_ID, PRD_NM", {sqlNumber(product.id), sqlText(product.name)});
    appendBarcodes(out);
    appendEto(out);
    appendFlowers(out);
    return out;
}

QStringList inStoreSampleCodes()
{
    struct Label { int product; int producer; int price; };
    static const Label labels[] = {
        {1, 1, 250},     {2, 18, 200},   {3, 12, 150},   {6, 1205, 130}, {7, 3, 180},   {9, 21, 120},
        {12, 20, 300},   {16, 4, 130},   {22, 15, 350},  {25, 3, 280},   {30, 17, 400}, {45, 13, 600},
        {54, 7, 550},    {58, 5, 1200},  {60, 5, 980},   {70, 3, 1980},  {73, 8, 320},  {76, 101, 650},
        {88, 102, 580},  {96, 6, 450},   {100, 6, 150},
    };
    // e.g. 0010001002507: product 001, producer 0001, 0025 = 250 yen, then 0 and the check digit 7.
    QStringList codes;
    for (const Label &label : labels) {
        codes << withCheckDigit(padded(label.product, 3) + padded(label.producer, 4) + padded(label.price / 10, 4)
                                + QLatin1Char('0'));
    }
    return codes;
}

} // namespace DemoMasters
