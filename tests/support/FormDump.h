#pragma once

#include "support/RecordingSurface.h"

// A printed form as text, one line per text ("T x y font size text") and per stroke ("L x1 y1 x2 y2 width style
// box"), positions in twips to two places, compared with a reviewed dump kept beside the test. Lines of the
// reviewed file that start with '#' are notes for the reader and are not compared.
namespace FormDump {

QString of(const RecordingSurface::Job &job);

// The reviewed dump in that file without its notes. With VANTLE_WRITE_DUMP=1 the file is written anew from
// actual first (its notes kept), for a person to review the difference.
QString reviewed(const QString &path, const QString &actual);

} // namespace FormDump
