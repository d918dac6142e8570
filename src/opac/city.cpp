#include "opac/city.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/session/data_location.h"
#include "engine/storage/open_local.h"
#include "engine/storage/open_remote.h"
#include "library/sql_rows.h"
#include "opac/app.h"
#include "opac/pupil_places.h"
#include "opac/resources.h"
#include "opac/say.h"

namespace kashidashi::opac {
namespace {

Sites* citySites = nullptr;

bool PlainId(const std::string& id) {
    if (id.empty() || id.size() > 40) return false;
    for (char c : id)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
            return false;
    return true;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts;
    size_t at = 0;
    while (true) {
        size_t tab = line.find('\t', at);
        parts.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
        if (tab == std::string::npos) break;
        at = tab + 1;
    }
    return parts;
}

}  // namespace

bool IsCityList(const std::string& data) {
    return data.size() > 8 && data.compare(data.size() - 8, 8, ".schools") == 0;
}

std::vector<CitySchool> ReadCitySchools(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("学校の一覧「" + file + "」を読めません。");
    std::vector<CitySchool> schools;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto parts = Split(line);
        if (parts.size() < 3 || parts.size() > 4 || !PlainId(parts[0]) || parts[1].empty() ||
            parts[2].empty())
            throw std::runtime_error("学校の一覧の " + std::to_string(number) +
                                     " 行目は「ID、学校名、データの場所（、パスワード）」を"
                                     "タブで区切って書いてください。");
        for (const auto& known : schools)
            if (known.id == parts[0])
                throw std::runtime_error("学校の一覧の " + std::to_string(number) + " 行目: ID「" +
                                         parts[0] + "」は二度目です。");
        schools.push_back({parts[0], parts[1], parts[2], parts.size() == 4 ? parts[3] : ""});
    }
    if (schools.empty()) throw std::runtime_error("学校の一覧「" + file + "」に学校がありません。");
    return schools;
}

ConnectionPool::Opener CityOpener(const CitySchool& school) {
    auto location = engine::RequireLocation(school.data);
    const engine::storage::LockRule rule{15, 100};  // the desk's rule
    if (location.backupFile) throw std::runtime_error("「" + school.data + "」はファイルです。");
    if (!location.server) {
        if (!std::filesystem::is_directory(location.folder))
            throw std::runtime_error("フォルダ「" + school.data + "」がありません。");
        return
            [folder = location.folder, rule] { return engine::storage::OpenLocal(folder, rule); };
    }
    auto address = location.address;
    address.password = school.password.empty() ? engine::ServerPassword(location) : school.password;
    return [address, rule] { return engine::storage::OpenRemote(address, rule); };
}

void SetCitySites(Sites* sites) {
    citySites = sites;
}

Response SchoolsPage(Request& request) {
    if (!citySites || request.path != "/" || citySites->All().empty()) return ErrorPage(404);
    Site& first = *citySites->All().front();
    Request inner = request;
    inner.site = &first;
    View view = ViewOf(inner);
    Html items;
    for (Site* site : citySites->All())
        items += Tag("li", Link(site->Base() + "/", Html::Escape(site->Name())));
    Html content = Tag("h1", view.Say("{学校|がっこう}をえらんでください")) +
                   Tag("ul", items, "class=\"schools\"");
    Html page = Html::Markup(
                    "<!DOCTYPE html><html lang=\"ja\"><head><meta charset=\"utf-8\">"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                    "<title>") +
                Html::Escape(Plain("{蔵書|ぞうしょ}{検索|けんさく}")) +
                Html::Markup("</title><link rel=\"stylesheet\" href=\"") +
                Html::Escape(first.Base() + "/static/opac.css") +
                Html::Markup("\"></head><body class=\"plain\"><main>") + content +
                Html::Markup("</main></body></html>");
    return Response::Html(page.str());
}

Html OtherSchools(const View& view, const std::string& isbn) {
    if (!citySites || isbn.empty()) return Html();
    auto& places = PupilPlaces::Instance();
    if (!places.Switches(view.site.Id()).otherSchools) return Html();
    Html items;
    for (Site* other : citySites->All()) {
        if (other == &view.site || !places.Switches(other->Id()).otherSchools) continue;
        std::vector<engine::storage::Row> rows;
        try {
            auto data = other->Data().Take();
            rows = library::SelectRows(*data,
                                       "Select BOOK_ID, kashidashiF, kintaiF, haikiF From Book"
                                       " Where ISBN=:PM1 Order By BOOK_ID",
                                       {{"pm1", engine::Value(isbn)}})
                       .rows;
        } catch (const std::exception&) {
            continue;  // a school that cannot be read now is left out
        }
        int onShelf = 0, held = 0;
        int64_t first = 0;
        for (const auto& row : rows) {
            const auto& v = row.values;
            auto set = [](const engine::Value& flag) { return flag.IsBool() && flag.Bool(); };
            if (set(v[3])) continue;  // discarded
            if (!first) first = library::IntegerOf(v[0]);
            ++held;
            if (!set(v[1]) && !set(v[2])) ++onShelf;
        }
        if (!held) continue;
        items += Tag(
            "li",
            Link(other->Base() + "/book/" + std::to_string(first), Html::Escape(other->Name())) +
                Html::Markup(" ") +
                (onShelf ? Tag("span", view.Say("{棚|たな}にあります"), "class=\"state available\"")
                         : Tag("span", view.Say("{貸出中|かしだしちゅう}"),
                               "class=\"state on-loan\"")));
    }
    if (items.empty()) return Html();
    return Tag("h2", view.Say("{他|ほか}の{学校|がっこう}にもあります")) +
           Tag("ul", items, "class=\"schools\"");
}

}  // namespace kashidashi::opac
