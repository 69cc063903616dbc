#pragma once

#include <QString>
#include <cstdint>

namespace qv::data {

// One line of ILS_Info.txt; fields kept exactly as read.
struct IlsRecord {
  QString airportIdent;
  QString runway;
  QString actionText;
  int16_t actionNumber = 0;
};

// One line of Nav_Info.txt; fields kept exactly as read.
struct NavaidRecord {
  QString ident;
  QString name;
  QString actionText;
};

}  // namespace qv::data
