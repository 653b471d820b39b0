#pragma once

#include <QString>

namespace vexademo {

// Writes the licence agreement and the privacy policy, in Chinese and in
// English, as PDF documents under `shareDir` ("license/license_cn.pdf", ...).
// Documents already there are kept. False when one could not be written.
bool writeLegalDocuments(const QString& shareDir);

// True when all four documents exist under `shareDir`.
bool legalDocumentsPresent(const QString& shareDir);

} // namespace vexademo
