#include "library/school_name.h"

#include <exception>

#include "data/U_DM.h"
#include "reports/report_source.h"

namespace kashidashi::library {

std::string ReportSchoolName() {
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        head->Open();
        std::string name = head->Field("meisyou").displayText;
        head->Close();
        return name == "\u3000" ? "" : name;
    } catch (const std::exception&) {
        return "";
    }
}

}  // namespace kashidashi::library
