// Telling a text's language by the scripts of its letters, and the locale's language.
#include "Language.h"

#include "CodePoints.h"
#include "Locale.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace folivane::engine {
namespace {

// The most a guess reads: enough letters of any script to be sure.
constexpr std::size_t kSampleLimit = 256 << 10;

// Frequent characters that only Simplified Chinese text uses. Left out on purpose: forms that
// Traditional text also writes (后 in 皇后, 里 in 公里, 万, 佣金, 号, 丰, 够, 脚, ...).
constexpr std::string_view kSimplifiedOnlyText =
    "们这说时国会来个为对发经没过还现动开从两长问间头样见东进种实点学让么机将话关车边无门马"
    "鸟鱼龙风飞书语认识请谁该论设记许讲诉证读调变难题颜页顺领预项须顾爱觉听声笔写脸钱银铁错"
    "钟针给红绿级线终结绝续细约纪织组练统维网罗队阳阴际陆险随园围图团战热灯与专业丝严丧临丽"
    "举义乌乐乔习乡买乱争亏亚产亩亲亿仅仓仪价众优伞伟传伤伦体侠侣侦侧侨俩债倾偿储儿党兰兴养"
    "兽军农冯冻凤凭凯击刘则刚创剂剑剧劝办务励劲劳势勋华协单卖卢卫厂厅历厉压厌县参双叹吓吗员"
    "启呜响哑唤喷嘱圆圣场坏块坚坛坟坠垒墙壮壳处备复夹夺奋奖妆妇妈娱婴孙宁宝宠审宪宫宽宾寻导"
    "寿尔尘尝层属岁岂岛岭币帅师帐带帮庄庆库应废异弃张弯弹归当录彻径忆忧怀态怜总恋恶恼悬惊惧"
    "惨惯愤愿戏执扩扫扬扰抚护报担拟拥拦择挡挣挤挥损摄摆撑敌数断旧显晒晓晕暂杀杂权条杨极构枪"
    "标栏树桥梦检楼欢欧残毕气汇汉汤沟泽洁浅测济浓涛润涨渐湾湿满滚灭灵灾烂烦烧爷牵犹狮独狭猎"
    "猪猫献环电画畅疗疯盏盐监盖盘睁矫确码础礼祸离积称稳穷窃竞笼签简粮紧纳纵纷纸绑绍绕绘络继"
    "绩绪绵综缓编缘缩罚罢职联聪肠肤肾肿胀胁胆脑舰艰艺节芦苏荡荣药莲获营萝蓝虑补衬袜装观规视"
    "览触誉计订讨训议讯讶访评诊词译试诗诚询详误诸诺课谈谊谋谎谓谢谨谱贝负贡财责贤败货质贩贪"
    "贫购贯贴贵费贺资赏赐赔赖赚赛赵赶跃践轨转轮软轰轻载较辅辆辈辉输辞辽达迁运远违连迟选递遗"
    "邓邮邻郑酱释钓钢钥铃铜铺链销锁锅锦键镜闪闭闯闲闷闹闻阁阅阵阶陈隐雾韩顶顽顿频额飘饭饮饰"
    "饱饿馆驱驶驻驾验骂骑骗鲁鲜鸡鸣鸭齐龄龟虽医脏适";

// Frequent characters that only Traditional Chinese text uses: the partners of the list above
// in the same order, then forms whose Simplified partner Traditional text also writes.
constexpr std::string_view kTraditionalOnlyText =
    "們這說時國會來個為對發經沒過還現動開從兩長問間頭樣見東進種實點學讓麼機將話關車邊無門馬"
    "鳥魚龍風飛書語認識請誰該論設記許講訴證讀調變難題顏頁順領預項須顧愛覺聽聲筆寫臉錢銀鐵錯"
    "鐘針給紅綠級線終結絕續細約紀織組練統維網羅隊陽陰際陸險隨園圍圖團戰熱燈與專業絲嚴喪臨麗"
    "舉義烏樂喬習鄉買亂爭虧亞產畝親億僅倉儀價眾優傘偉傳傷倫體俠侶偵側僑倆債傾償儲兒黨蘭興養"
    "獸軍農馮凍鳳憑凱擊劉則剛創劑劍劇勸辦務勵勁勞勢勳華協單賣盧衛廠廳歷厲壓厭縣參雙嘆嚇嗎員"
    "啟嗚響啞喚噴囑圓聖場壞塊堅壇墳墜壘牆壯殼處備復夾奪奮獎妝婦媽娛嬰孫寧寶寵審憲宮寬賓尋導"
    "壽爾塵嘗層屬歲豈島嶺幣帥師帳帶幫莊慶庫應廢異棄張彎彈歸當錄徹徑憶憂懷態憐總戀惡惱懸驚懼"
    "慘慣憤願戲執擴掃揚擾撫護報擔擬擁攔擇擋掙擠揮損攝擺撐敵數斷舊顯曬曉暈暫殺雜權條楊極構槍"
    "標欄樹橋夢檢樓歡歐殘畢氣匯漢湯溝澤潔淺測濟濃濤潤漲漸灣濕滿滾滅靈災爛煩燒爺牽猶獅獨狹獵"
    "豬貓獻環電畫暢療瘋盞鹽監蓋盤睜矯確碼礎禮禍離積稱穩窮竊競籠簽簡糧緊納縱紛紙綁紹繞繪絡繼"
    "績緒綿綜緩編緣縮罰罷職聯聰腸膚腎腫脹脅膽腦艦艱藝節蘆蘇蕩榮藥蓮獲營蘿藍慮補襯襪裝觀規視"
    "覽觸譽計訂討訓議訊訝訪評診詞譯試詩誠詢詳誤諸諾課談誼謀謊謂謝謹譜貝負貢財責賢敗貨質販貪"
    "貧購貫貼貴費賀資賞賜賠賴賺賽趙趕躍踐軌轉輪軟轟輕載較輔輛輩輝輸辭遼達遷運遠違連遲選遞遺"
    "鄧郵鄰鄭醬釋釣鋼鑰鈴銅鋪鏈銷鎖鍋錦鍵鏡閃閉闖閒悶鬧聞閣閱陣階陳隱霧韓頂頑頓頻額飄飯飲飾"
    "飽餓館驅駛駐駕驗罵騎騙魯鮮雞鳴鴨齊齡龜雖醫髒適"
    "後裡於隻臺幾萬髮鬆麵雲範衝採係鬥誇塗臘淚號夠傭豐腳據掛櫃脈蘋薦癢蹤敘毀內戶黃靜溫強決況"
    "減涼淨卻別吳呂脫換虛冊晉丟拋搖彥煙";

// The common ideographs (U+4E00 to U+9FFF), where every character of the lists above lies.
constexpr char32_t kFirstIdeograph = 0x4E00;
constexpr char32_t kLastIdeograph = 0x9FFF;
constexpr std::size_t kIdeographWords = (kLastIdeograph - kFirstIdeograph) / 64 + 1;
using IdeographSet = std::array<std::uint64_t, kIdeographWords>;

constexpr bool InIdeographs(char32_t c) {
    return c >= kFirstIdeograph && c <= kLastIdeograph;
}

// The characters of `text` as a bit for each common ideograph: one test a character where a
// search of the list took ten.
constexpr IdeographSet IdeographsOf(std::string_view text) {
    IdeographSet set{};
    while (!text.empty()) {
        const char32_t c = TakeCodePoint(text);
        if (!InIdeographs(c)) throw "a character of the list is not a common ideograph";
        set[(c - kFirstIdeograph) / 64] |= std::uint64_t{1} << ((c - kFirstIdeograph) % 64);
    }
    return set;
}

constexpr bool Has(const IdeographSet& set, char32_t c) {
    return (set[(c - kFirstIdeograph) / 64] >> ((c - kFirstIdeograph) % 64)) & 1u;
}

constexpr IdeographSet kSimplifiedOnly = IdeographsOf(kSimplifiedOnlyText);
constexpr IdeographSet kTraditionalOnly = IdeographsOf(kTraditionalOnlyText);

constexpr bool Disjoint(const IdeographSet& a, const IdeographSet& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] & b[i]) != 0) return false;
    return true;
}
static_assert(Disjoint(kSimplifiedOnly, kTraditionalOnly), "a character is in both lists");

// Languages whose locales write in Latin script, sorted.
constexpr std::string_view kLatinScriptLanguages[] = {
    "af", "ast", "az",  "br", "bs", "ca",  "co",  "cs", "cy", "da", "de", "en", "eo",  "es", "et",
    "eu", "fi",  "fil", "fo", "fr", "fur", "fy",  "ga", "gd", "gl", "gv", "ha", "haw", "hr", "ht",
    "hu", "ia",  "id",  "ig", "is", "it",  "jv",  "kl", "ku", "kw", "la", "lb", "li",  "ln", "lt",
    "lv", "mg",  "mi",  "ms", "mt", "nb",  "nds", "nl", "nn", "no", "oc", "om", "pl",  "pt", "rm",
    "ro", "rw",  "sc",  "se", "sk", "sl",  "sm",  "so", "sq", "ss", "st", "su", "sv",  "sw", "tk",
    "tl", "tn",  "to",  "tr", "ts", "uz",  "ve",  "vi", "wa", "wo", "xh", "yo", "zu"};
static_assert(std::ranges::is_sorted(kLatinScriptLanguages));

enum Script {
    Latin,
    Han,
    Kana,
    Hangul,
    Cyrillic,
    Greek,
    Arabic,
    Hebrew,
    Thai,
    Devanagari,
    Bengali,
    Gurmukhi,
    Gujarati,
    Oriya,
    Tamil,
    Telugu,
    Kannada,
    Malayalam,
    Sinhala,
    Lao,
    Tibetan,
    Myanmar,
    Georgian,
    Armenian,
    Ethiopic,
    Khmer,
    Mongolian,
    Thaana,
    Syriac,
    Cherokee,
    Syllabics,
    Tifinagh,
    Yi,
    Other,
    ScriptCount
};

// The blocks of letters of each script above ASCII, sorted.
struct ScriptRange {
    char32_t first;
    char32_t last;
    Script script;
};
constexpr ScriptRange kScriptRanges[] = {
    {0xC0, 0xD6, Latin}, // not × (D7) nor ÷ (F7)
    {0xD8, 0xF6, Latin},
    {0xF8, 0x24F, Latin},
    {0x370, 0x3FF, Greek},
    {0x400, 0x52F, Cyrillic},
    {0x531, 0x58F, Armenian},
    {0x591, 0x5F4, Hebrew},
    {0x600, 0x6FF, Arabic},
    {0x700, 0x74F, Syriac},
    {0x750, 0x77F, Arabic},
    {0x780, 0x7BF, Thaana},
    {0x8A0, 0x8FF, Arabic},
    {0x900, 0x97F, Devanagari},
    {0x980, 0x9FF, Bengali},
    {0xA00, 0xA7F, Gurmukhi},
    {0xA80, 0xAFF, Gujarati},
    {0xB00, 0xB7F, Oriya},
    {0xB80, 0xBFF, Tamil},
    {0xC00, 0xC7F, Telugu},
    {0xC80, 0xCFF, Kannada},
    {0xD00, 0xD7F, Malayalam},
    {0xD80, 0xDFF, Sinhala},
    {0xE01, 0xE5B, Thai},
    {0xE80, 0xEFF, Lao},
    {0xF00, 0xFFF, Tibetan},
    {0x1000, 0x109F, Myanmar},
    {0x10A0, 0x10FF, Georgian},
    {0x1100, 0x11FF, Hangul},
    {0x1200, 0x139F, Ethiopic},
    {0x13A0, 0x13FF, Cherokee},
    {0x1400, 0x167F, Syllabics},
    {0x1780, 0x17FF, Khmer},
    {0x1800, 0x18AF, Mongolian},
    {0x18B0, 0x18FF, Syllabics},
    {0x19E0, 0x19FF, Khmer},
    {0x1C90, 0x1CBF, Georgian},
    {0x1E00, 0x1EFF, Latin},
    {0x1F00, 0x1FFF, Greek},
    {0x2D00, 0x2D2F, Georgian},
    {0x2D30, 0x2D7F, Tifinagh},
    {0x2D80, 0x2DDF, Ethiopic},
    {0x3041, 0x309F, Kana},
    // U+30FB, the katakana middle dot, also joins the parts of foreign names in Chinese.
    {0x30A0, 0x30FA, Kana},
    {0x30FC, 0x30FF, Kana},
    {0x3130, 0x318F, Hangul},
    {0x31F0, 0x31FF, Kana},
    {0x3400, 0x4DBF, Han},
    {0x4E00, 0x9FFF, Han},
    {0xA000, 0xA4CF, Yi},
    {0xA8E0, 0xA8FF, Devanagari},
    {0xAB01, 0xAB2F, Ethiopic},
    {0xAB70, 0xABBF, Cherokee},
    {0xAC00, 0xD7A3, Hangul},
    {0xF900, 0xFAFF, Han},
    {0xFB13, 0xFB17, Armenian},
    {0xFB1D, 0xFB4F, Hebrew},
    {0xFB50, 0xFDFF, Arabic},
    {0xFE70, 0xFEFC, Arabic},
    {0xFF66, 0xFF9F, Kana},
    {0x20000, 0x3134F, Han},
};
static_assert(std::ranges::is_sorted(kScriptRanges, {}, &ScriptRange::first));

// The language a text in a script other than Latin and the CJK ones is tagged with: the
// locale's when it is one written in that script (`locales`, space-separated), else the
// script's most spoken one, else "und" with the script where no language stands out.
struct ScriptLanguage {
    Script script;
    std::string_view tag;
    std::string_view locales;
};
constexpr ScriptLanguage kScriptLanguages[] = {
    {Cyrillic, "ru", "ru uk be bg sr mk kk ky tg mn tt ba cv os"},
    {Greek, "el", "el"},
    {Arabic, "ar", "ar fa ur ps ckb ug sd ks"},
    {Hebrew, "he", "he yi"},
    {Thai, "th", "th"},
    {Devanagari, "hi", "hi mr ne sa kok mai bho doi brx"},
    {Bengali, "bn", "bn as mni"},
    {Gurmukhi, "pa", "pa"},
    {Gujarati, "gu", "gu"},
    {Oriya, "or", "or"},
    {Tamil, "ta", "ta"},
    {Telugu, "te", "te"},
    {Kannada, "kn", "kn"},
    {Malayalam, "ml", "ml"},
    {Sinhala, "si", "si"},
    {Lao, "lo", "lo"},
    {Tibetan, "bo", "bo dz"},
    {Myanmar, "my", "my"},
    {Georgian, "ka", "ka"},
    {Armenian, "hy", "hy"},
    {Ethiopic, "am", "am ti"},
    {Khmer, "km", "km"},
    {Mongolian, "mn-Mong", ""}, // Mongolian locales write Cyrillic
    {Thaana, "dv", "dv"},
    {Syriac, "syr", "syr"},
    {Cherokee, "chr", "chr"},
    {Syllabics, "und-Cans", "iu cr oj"},
    {Tifinagh, "und-Tfng", "zgh tzm shi kab"},
    {Yi, "ii", "ii"},
};

constexpr bool In(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

Script ScriptOf(char32_t c) {
    if (c < 0x80) return In(c, U'a', U'z') || In(c, U'A', U'Z') ? Latin : Other;
    // The common ideographs, most of any Chinese or Japanese text, without the search.
    if (In(c, U'\u4E00', U'\u9FFF')) return Han;
    const auto* after = std::ranges::upper_bound(kScriptRanges, c, {}, &ScriptRange::first);
    if (after == std::begin(kScriptRanges)) return Other;
    const ScriptRange& range = *(after - 1);
    return c <= range.last ? range.script : Other;
}

// The tag of text in `script` (one of kScriptLanguages) under `locale`.
std::string LanguageOfScript(Script script, std::string_view locale) {
    const auto found = std::ranges::find(kScriptLanguages, script, &ScriptLanguage::script);
    const std::string language = ParseLocale(locale).language;
    if (!language.empty()) {
        for (std::string_view rest = found->locales; !rest.empty();) {
            const std::size_t space = rest.find(' ');
            if (rest.substr(0, space) == language) return language;
            rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
        }
    }
    return std::string(found->tag);
}

// The language of a locale such as "de_DE.UTF-8" when it writes in Latin script, else en.
std::string LatinLanguageOfLocale(std::string_view locale) {
    const LocaleName name = ParseLocale(locale);
    if (name.language == "sr" && name.modifier == "latin")
        return "sr-Latn"; // Serbian is Cyrillic by default
    if (std::ranges::binary_search(kLatinScriptLanguages, name.language) &&
        !(name.language == "uz" && name.modifier == "cyrillic"))
        return name.language;
    return "en";
}

} // namespace

std::string DetectLanguage(std::string_view utf8Sample, std::string_view locale) {
    const std::string_view text = utf8Sample.substr(0, kSampleLimit);
    std::array<std::size_t, ScriptCount> count{};
    // Characters only Simplified or only Traditional Chinese writes, counted on the way.
    std::size_t simplified = 0;
    std::size_t traditional = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const auto byte = static_cast<unsigned char>(rest.front());
        if (byte < 0x80) { // most of any text in Latin script: no decoding
            rest.remove_prefix(1);
            if (ScriptOf(byte) == Latin) ++count[Latin];
            continue;
        }
        const char32_t c = TakeCodePoint(rest);
        if (InIdeographs(c)) {
            ++count[Han];
            simplified += Has(kSimplifiedOnly, c) ? 1u : 0u;
            traditional += Has(kTraditionalOnly, c) ? 1u : 0u;
            continue;
        }
        ++count[ScriptOf(c)];
    }

    const std::size_t cjk = count[Han] + count[Kana] + count[Hangul];
    std::size_t best = count[Latin];
    Script winner = Latin;
    for (const ScriptLanguage& script : kScriptLanguages) {
        if (count[script.script] > best) {
            best = count[script.script];
            winner = script.script;
        }
    }
    if (3 * cjk > best) {
        if (count[Hangul] > count[Kana] && 5 * count[Hangul] >= cjk) return "ko";
        if (10 * count[Kana] >= cjk) return "ja";
        return traditional > 2 * simplified ? "zh-TW" : "zh-CN";
    }
    return winner == Latin ? LatinLanguageOfLocale(locale) : LanguageOfScript(winner, locale);
}

} // namespace folivane::engine
