#pragma once
// The steps of the batch tool, each a thin call of a domain operation.
#include "cli/CliBediener.h"
#include "core/Sitzung.h"

#include <QStringList>
#include <functional>

namespace zt::cli {

struct Kontext {
  Sitzung& s;
  CliBediener& bediener;
};

struct Schritt {
  const char* name;
  int argumente;  // number of arguments the step takes
  const char* hilfe;
  std::function<bool(Kontext&, const QStringList&)> ausfuehren;  // false: could not do its work
};

const std::vector<Schritt>& Schritte();
const Schritt* SchrittSuchen(const QString& name);

// BBGGRR as six hex digits, or "-" for none.
QString FarbeText(int farbe);

}  // namespace zt::cli
