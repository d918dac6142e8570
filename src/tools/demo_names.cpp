#include "tools/demo_names.h"

#include <array>
#include <span>

namespace kashidashi::admin {
namespace {

struct NamePart {
    const char* text;
    const char* reading;
};

constexpr NamePart kFamilies[] = {
    {"佐藤", "サトウ"},   {"鈴木", "スズキ"},     {"高橋", "タカハシ"}, {"田中", "タナカ"},
    {"伊藤", "イトウ"},   {"渡辺", "ワタナベ"},   {"山本", "ヤマモト"}, {"中村", "ナカムラ"},
    {"小林", "コバヤシ"}, {"加藤", "カトウ"},     {"吉田", "ヨシダ"},   {"山田", "ヤマダ"},
    {"佐々木", "ササキ"}, {"山口", "ヤマグチ"},   {"松本", "マツモト"}, {"井上", "イノウエ"},
    {"木村", "キムラ"},   {"林", "ハヤシ"},       {"清水", "シミズ"},   {"山崎", "ヤマザキ"},
    {"森", "モリ"},       {"池田", "イケダ"},     {"橋本", "ハシモト"}, {"阿部", "アベ"},
    {"石川", "イシカワ"}, {"前田", "マエダ"},     {"藤田", "フジタ"},   {"小川", "オガワ"},
    {"岡田", "オカダ"},   {"長谷川", "ハセガワ"},
};

constexpr NamePart kBoys[] = {
    {"陽翔", "ハルト"}, {"蓮", "レン"},       {"湊", "ミナト"},   {"大和", "ヤマト"},
    {"悠真", "ユウマ"}, {"陸", "リク"},       {"樹", "イツキ"},   {"颯太", "ソウタ"},
    {"健太", "ケンタ"}, {"翔太", "ショウタ"}, {"大輝", "ダイキ"}, {"拓海", "タクミ"},
    {"優斗", "ユウト"}, {"航", "ワタル"},     {"奏太", "カナタ"}, {"悠人", "ユウト"},
};

constexpr NamePart kGirls[] = {
    {"陽葵", "ヒマリ"}, {"凛", "リン"},       {"結衣", "ユイ"},     {"芽依", "メイ"},
    {"葵", "アオイ"},   {"結菜", "ユイナ"},   {"さくら", "サクラ"}, {"美咲", "ミサキ"},
    {"杏", "アン"},     {"紬", "ツムギ"},     {"花", "ハナ"},       {"彩花", "アヤカ"},
    {"千尋", "チヒロ"}, {"菜々子", "ナナコ"}, {"心春", "コハル"},   {"莉子", "リコ"},
};

constexpr NamePart kMen[] = {
    {"一郎", "イチロウ"}, {"浩", "ヒロシ"},   {"誠", "マコト"},     {"直樹", "ナオキ"},
    {"健一", "ケンイチ"}, {"隆", "タカシ"},   {"修", "オサム"},     {"正人", "マサト"},
    {"和也", "カズヤ"},   {"哲也", "テツヤ"}, {"秀明", "ヒデアキ"}, {"康介", "コウスケ"},
};

constexpr NamePart kWomen[] = {
    {"和子", "カズコ"}, {"恵子", "ケイコ"}, {"由美", "ユミ"},     {"真理子", "マリコ"},
    {"洋子", "ヨウコ"}, {"明美", "アケミ"}, {"久美子", "クミコ"}, {"智子", "トモコ"},
    {"直美", "ナオミ"}, {"裕子", "ユウコ"}, {"典子", "ノリコ"},   {"美穂", "ミホ"},
};

const NamePart& Pick(std::mt19937& random, std::span<const NamePart> parts) {
    return parts[random() % parts.size()];
}

std::span<const NamePart> GivenNames(int sex, bool child) {
    if (child) return sex == kMale ? std::span<const NamePart>(kBoys) : kGirls;
    return sex == kMale ? std::span<const NamePart>(kMen) : kWomen;
}

}  // namespace

PersonName NamePicker::Child(int sex) {
    return Unique(sex, true);
}

PersonName NamePicker::Adult(int sex) {
    return Unique(sex, false);
}

PersonName NamePicker::Any(int sex, bool child) {
    const NamePart& family = Pick(random_, kFamilies);
    const NamePart& given = Pick(random_, GivenNames(sex, child));
    return {std::string(family.text) + "　" + given.text,
            std::string(family.reading) + "　" + given.reading};
}

PersonName NamePicker::Unique(int sex, bool child) {
    for (;;) {
        PersonName person = Any(sex, child);
        if (used_.insert(person.name).second) return person;
    }
}

}  // namespace kashidashi::admin
