#pragma once

namespace vexa {
namespace projectfilemgr {

enum class LegalDocument { License, Privacy, ThirdPartyLicense };

// Opens the document in the host's shared data folder with what the system
// opens such files with, in Chinese or in the other languages' version.
// False when it is missing or nothing opens it.
bool openLegalDocument(LegalDocument document, bool chinese);

} // namespace projectfilemgr
} // namespace vexa
