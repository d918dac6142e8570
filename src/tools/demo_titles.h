// The titles of the demo library: kDemoTitles distinct, believable Japanese
// titles of a school library, each with its NDC class, more of them stories
// and science than philosophy. Each fits Book.syomei2 (60 bytes).
#pragma once

#include <string>
#include <vector>

namespace kashidashi::admin {

struct DemoTitle {
    std::string text;
    int ndc = 9;
};

std::vector<DemoTitle> DemoTitles();

}  // namespace kashidashi::admin
