#include "tools/demo_titles.h"

#include <vector>

#include "tools/demo_school.h"

namespace kashidashi::admin {
namespace {

// Titles of one class: each subject put into each pattern ("{}" marks the
// place), the first `count` of them taken subject by subject.
struct ClassTitles {
    int ndc;
    int count;
    std::vector<const char*> subjects;
    std::vector<const char*> patterns;
};

const ClassTitles kClasses[] = {
    {0,
     15,
     {"図書館", "新聞", "インターネット", "調べ学習", "百科事典"},
     {"{}のひみつ", "はじめての{}", "よくわかる{}", "{}を使ってみよう"}},
    {1,
     10,
     {"こころ", "ともだち", "いのち", "しあわせ", "勇気"},
     {"{}ってなんだろう", "{}の教室", "考えよう！{}", "{}のはなし"}},
    {2,
     40,
     {"縄文時代", "奈良の都", "平安の人びと", "鎌倉幕府", "戦国武将", "江戸のくらし", "文明開化",
      "世界の国ぐに", "日本の地図", "わたしたちの町"},
     {"{}のなぞ", "まんが{}", "{}をたずねて", "図解{}"}},
    {3,
     30,
     {"選挙", "お金", "ごみとリサイクル", "消防と警察", "世界の子ども", "昔の遊び", "防災",
      "地域の仕事"},
     {"{}のしくみ", "しらべよう！{}", "{}ってなに？", "みんなの{}"}},
    {4,
     60,
     {"宇宙", "星座", "恐竜", "こん虫", "植物", "海の生き物", "鳥", "天気", "人体", "火山と地震",
      "動物", "川の魚", "磁石と電気", "化石", "川と水"},
     {"{}図鑑", "{}のふしぎ", "よくわかる{}", "{}の観察ノート"}},
    {5,
     20,
     {"ロボット", "乗り物", "料理", "家", "発明"},
     {"{}のひみつ", "{}大集合", "つくってみよう！{}", "{}の歴史"}},
    {6,
     15,
     {"米づくり", "野菜", "漁業", "牧場", "森林"},
     {"{}の一年", "{}を知ろう", "{}で働く人たち", "日本の{}"}},
    {7,
     30,
     {"折り紙", "絵の具", "工作", "合唱", "サッカー", "野球", "水泳", "和太鼓"},
     {"{}入門", "たのしい{}", "{}のコツ", "はじめての{}"}},
    {8,
     15,
     {"漢字", "ことわざ", "英語", "敬語", "方言"},
     {"{}クイズ", "{}のひみつ", "楽しく学ぶ{}", "{}辞典"}},
    {9,
     125,
     {"月夜", "星空", "雪の町", "港町", "風の丘", "森の奥", "夏休み", "放課後", "秘密の庭",
      "雨の日", "魔法の国", "川のほとり"},
     {"{}のねこ", "{}のきつね", "{}の手紙", "{}のひみつ基地", "{}のぼうけん", "{}の図書室",
      "{}のおばけ", "{}の約束", "{}の自転車", "{}のともだち", "{}の時計", "{}のドラゴン"}},
};

std::string Fill(const std::string& pattern, const std::string& subject) {
    std::string text = pattern;
    return text.replace(text.find("{}"), 2, subject);
}

void AddClass(const ClassTitles& group, std::vector<DemoTitle>& titles) {
    int made = 0;
    for (const char* subject : group.subjects) {
        for (const char* pattern : group.patterns) {
            if (made++ == group.count) return;
            titles.push_back({Fill(pattern, subject), group.ndc});
        }
    }
}

}  // namespace

std::vector<DemoTitle> DemoTitles() {
    std::vector<DemoTitle> titles;
    for (const auto& group : kClasses) AddClass(group, titles);
    return titles;
}

}  // namespace kashidashi::admin
