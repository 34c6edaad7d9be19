#pragma once
// Batch steps of the outputs: result list, certificates, HTML report,
// registration list, runner counts, printing, and PDF files of the lists.
#include "cli/Schritte.h"

namespace zt::cli {

bool ErgebnislisteSchritt(Kontext& k, const QStringList& a);
bool ErgebnislistePdfSchritt(Kontext& k, const QStringList& a);
bool UrkundenSchritt(Kontext& k, const QStringList& a);
bool UrkundenPdfSchritt(Kontext& k, const QStringList& a);
bool HtmlSchritt(Kontext& k, const QStringList& a);
bool AnmeldelisteSchritt(Kontext& k, const QStringList& a);
bool ZaehlenSchritt(Kontext& k, const QStringList& a);
bool DruckenSchritt(Kontext& k, const QStringList& a);

extern const char* const kErgebnislisteHilfe;
extern const char* const kErgebnislistePdfHilfe;
extern const char* const kErgebnislisteOptionen;
extern const char* const kUrkundenHilfe;
extern const char* const kUrkundenPdfHilfe;
extern const char* const kUrkundenOptionen;
extern const char* const kHtmlHilfe;
extern const char* const kAnmeldelisteHilfe;
extern const char* const kZaehlenHilfe;
extern const char* const kDruckenHilfe;

}  // namespace zt::cli
