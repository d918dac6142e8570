// The lookups on a scratch folder (the answer file is written in the current
// folder) with the services pointed at a local answer server that serves
// the recorded answers; the book is a record in memory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "answer_server.h"
#include "catalogue/lookup.h"
#include "catalogue/lookup_services.h"

namespace catalogue_test {

class LookupFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A recorded answer with "@BASE@" replaced by the server's address.
    std::string Answer(const std::string& name) const;
    // Serves the bytes as the national library's search answer.
    void ServeNdl(const std::string& answer);
    // Serves the bytes as Rakuten's search answer.
    void ServeRakuten(const std::string& answer);
    // Runs the lookup on `book`; the messages shown are kept in `messages`.
    // Returns false when the lookup was abandoned after its message.
    bool Run(void (*lookup)(const std::string&, kashidashi::catalogue::LookupContext&),
             const std::string& isbn);

    std::unique_ptr<AnswerServer> server = std::make_unique<AnswerServer>();
    kashidashi::catalogue::MemoryBookRecord book;
    std::vector<std::string> messages;
    std::filesystem::path folder, previousFolder;
    kashidashi::catalogue::LookupServices saved;
};

}  // namespace catalogue_test
