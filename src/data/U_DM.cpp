#include "data/U_DM.h"

#include <stdexcept>

#include "platform/folders.h"

namespace kashidashi {
namespace {

std::unique_ptr<TDM>& Holder() {
    static std::unique_ptr<TDM> instance;
    return instance;
}

// The design-time host of the remote data session; SetPath replaces it
// before every remote connection.
constexpr const char* kDesignRemoteHost = "localhost";

void Place(engine::TDBDataSet& dataSet, const char* session, const char* database) {
    dataSet.SetSessionName(session);
    dataSet.SetDatabaseName(database);
}

}  // namespace

void OnDataDatabase(engine::TDBDataSet& dataSet) {
    Place(dataSet, "BBB", "AAA");
}

TDM& TDM::Create() {
    if (!Holder()) {
        Holder().reset(new TDM());
        Holder()->DataModuleCreate();
    }
    return *Holder();
}

TDM& TDM::Instance() {
    if (!Holder()) throw std::logic_error("TDM::Instance before TDM::Create");
    return *Holder();
}

void TDM::Destroy() {
    Holder().reset();
}

TDM::TDM() {
    SetUpSessions();
    SetUpTables();
    SetUpQueries();
    DeclareFields();
}

void TDM::DataModuleCreate() {
    // A folder that cannot be made is reported by the engine when it needs it.
    platform::CreateFolderPath(kPrivateDir);
    DBSession1.SetPrivateDir(kPrivateDir);
}

void TDM::SetUpSessions() {
    for (engine::TDBSession* session : {&DBSession1, &DBSession2}) {
        session->lockProtocol = engine::LockProtocol::lpPessimistic;
        session->LockRetryCount = 15;
        session->LockWaitTime = 100;
    }
    engine::TDBSession::Remote remote;  // 127.0.0.1, 12005, "Admin", "PqRelay", LAN
    remote.host = kDesignRemoteHost;
    DBSession1.SetRemoteSettings(remote);
    DBDatabase1.SetDirectory("C:\\Book");
}

void TDM::SetUpTables() {
    Place(Head, "WBBB", "WWW");
    Head.SetTableName("head");
    Place(RegistTB, "WBBB", "WWW");
    RegistTB.SetTableName("Regist");
    const std::pair<engine::TDBTable*, const char*> dataTables[] = {
        {&RegTB, "Reg"}, {&NDC, "NDC"},         {&HKN, "HKN"},      {&NAME, "name"},
        {&BOOK, "BOOK"}, {&KASHIBO, "kashibo"}, {&YOYAKU, "yoyaku"}};
    for (const auto& [table, name] : dataTables) {
        OnDataDatabase(*table);
        table->SetTableName(name);
    }
    RegTB.SetIndexFieldNames("ID");
    BOOK.OnCalcFields = &TDM::BOOKCalcFields;
}

void TDM::SetUpQueries() {
    for (engine::TDBQuery* query : {&YoyakuFindQry, &YoyakuDELQry, &AQry, &Aqry2}) {
        OnDataDatabase(*query);
    }
    YoyakuFindQry.SQL().Add("Select yoyakuDTime, Book_ID,Name_ID From yoyaku");
    YoyakuFindQry.SQL().Add(" where Book_ID=:PM1 or ( ISBN_ID is not Null and ISBN_ID=:PM2)");
    YoyakuFindQry.SQL().Add(" Order By YoyakuDTime");
    YoyakuDELQry.SQL().Add("Delete From yoyaku");
    YoyakuDELQry.SQL().Add(
        " Where (Book_ID=:PM1 or (ISBN_ID is Not Null and ISBN_ID=:PM2)) and Name_ID=:PM3");
}

}  // namespace kashidashi
