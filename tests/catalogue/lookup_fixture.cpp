#include "lookup_fixture.h"

#include <stdlib.h>

namespace catalogue_test {

using namespace kashidashi::catalogue;

void LookupFixture::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kx-lookup-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    saved = Services();
    Services().ndlBase = server->Base();
    Services().rakutenBase = server->Base();
    Services().allowedSchemes = {"http"};
}

void LookupFixture::TearDown() {
    Services() = saved;
    std::filesystem::current_path(previousFolder);
    std::filesystem::remove_all(folder);
}

std::string LookupFixture::Answer(const std::string& name) const {
    std::string text = RecordedAnswer(name);
    for (std::size_t at; (at = text.find("@BASE@")) != std::string::npos;)
        text.replace(at, 6, server->Base());
    return text;
}

void LookupFixture::ServeNdl(const std::string& answer) {
    server->Serve("/api/opensearch?isbn=", answer);
}

void LookupFixture::ServeRakuten(const std::string& answer) {
    server->Serve("/services/api/BooksBook/Search/", answer);
}

bool LookupFixture::Run(void (*lookup)(const std::string&, LookupContext&),
                        const std::string& isbn) {
    LookupContext context{book, [&](const std::string& m) { messages.push_back(m); }};
    try {
        lookup(isbn, context);
        return true;
    } catch (const LookupAbandoned&) {
        return false;
    }
}

}  // namespace catalogue_test
