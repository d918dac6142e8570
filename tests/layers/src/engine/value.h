// A value that wrongly wants Qt.
#pragma once
#include <QString>
#include <string>
