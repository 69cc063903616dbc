#pragma once

#include <QString>

namespace qv::test {

// Copies a fixture folder with everything below it into `to` (created as
// needed), so that a test can change the copy.
void CopyTree(const QString& from, const QString& to);

}  // namespace qv::test
