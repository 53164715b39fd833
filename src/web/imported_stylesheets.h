#pragma once

#include <string>

namespace sarvik {

// The engine's MHTML writer files a stylesheet that another stylesheet
// imports under the import's address resolved against the page instead of
// against the importing stylesheet: `@import url("basic.css")` inside
// "/_static/classic.css" of the page "/library/os.html" lands at
// "/library/basic.css". Offline, the importing sheet asks for
// "/_static/basic.css", which the archive lacks, and the page loses its
// styles. This adds a copy of each such part at the address its importer
// asks for, nested imports included; the importer of a part is the first
// stylesheet after it in the archive that imports it, as the writer puts each
// imported sheet just ahead of the one that imports it. Everything else stays
// byte for byte, and an archive it cannot read comes back as it was.
std::string placeImportedStylesheets(std::string archive);

}  // namespace sarvik
