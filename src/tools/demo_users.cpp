#include "tools/demo_users.h"

#include <cstdio>

#include "tools/demo_names.h"

namespace kashidashi::admin {
namespace {

constexpr int kGrades = 6;
constexpr int kClassesPerGrade = 2;
constexpr int kPupilsPerClass = 5;
constexpr int kStaffCode = 900;
constexpr int kStaff = 5;

std::string Digits(const char* format, int value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

exchange::Cells User(const std::string& nameId, const std::string& pupilNo, int sex,
                     const PersonName& name, int classCode) {
    return {{"NAME_ID", engine::Value(nameId)}, {"seito_No", engine::Value(pupilNo)},
            {"sex", engine::Value(sex)},        {"NAME", engine::Value(name.name)},
            {"mihenkyakuSU", engine::Value(0)}, {"syozoku_ID", engine::Value(classCode)}};
}

}  // namespace

std::vector<exchange::Cells> DemoClasses() {
    std::vector<exchange::Cells> rows;
    for (int grade = 1; grade <= kGrades; ++grade) {
        for (int group = 1; group <= kClassesPerGrade; ++group) {
            rows.push_back({{"SYOZOKU_ID", engine::Value(grade * 100 + group)},
                            {"SYOZOKU", engine::Value(std::to_string(grade) + "年" +
                                                      std::to_string(group) + "組")}});
        }
    }
    rows.push_back({{"SYOZOKU_ID", engine::Value(kStaffCode)}, {"SYOZOKU", engine::Value("職員")}});
    return rows;
}

std::vector<exchange::Cells> DemoUsers(std::mt19937& random) {
    NamePicker names(random);
    std::vector<exchange::Cells> rows;
    for (const auto& group : DemoClasses()) {
        const int code = static_cast<int>(group.front().second.Integer());
        if (code == kStaffCode) continue;
        for (int number = 1; number <= kPupilsPerClass; ++number) {
            const int sex = number % 2 == 1 ? kMale : kFemale;
            const auto nameId = Digits("1%05d", static_cast<int>(rows.size()) + 1);
            const auto pupilNo = Digits("%03d", code) + Digits("%02d", number);
            rows.push_back(User(nameId, pupilNo, sex, names.Child(sex), code));
        }
    }
    for (int staff = 1; staff <= kStaff; ++staff) {
        const int sex = staff % 2 == 0 ? kMale : kFemale;
        rows.push_back(User(Digits("9%05d", staff), Digits("9%04d", staff), sex, names.Adult(sex),
                            kStaffCode));
    }
    return rows;
}

}  // namespace kashidashi::admin
