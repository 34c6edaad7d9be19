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
  // Options that may follow the arguments, comma-separated; a name ending in
  // ":" takes a value ("modus:,ziel:,endzeit"). They reach ausfuehren after
  // the arguments, as given ("--modus", "loeschen", "--endzeit").
  const char* optionen = "";
  // false from a check step means "found something", not "could not run".
  bool pruefschritt = false;
};

// The value of "--name WERT" among a step's arguments, or fallback.
QString OptionWert(const QStringList& a, const QString& name, const QString& fallback = QString());
bool OptionGesetzt(const QStringList& a, const QString& name);

const std::vector<Schritt>& Schritte();
const Schritt* SchrittSuchen(const QString& name);

// BBGGRR as six hex digits, or "-" for none.
QString FarbeText(int farbe);

}  // namespace zt::cli
