#include "utilities/DemoCatalogue.h"

namespace utilities {

const std::vector<DemoGroup>& DemoCatalogue::groups() {
  static const std::vector<DemoGroup> list = {
      {"A", "Azionari"},       {"B", "Bilanciati e Flessibili"},
      {"O", "Obbligazionari"}, {"M", "Monetari"},
      {"P", "Polizze"},
  };
  return list;
}

const std::vector<DemoCategory>& DemoCatalogue::categories() {
  static const std::vector<DemoCategory> list = {
      {"AZITA", "Azionari Italia", "N"},
      {"AZEUR", "Azionari Europa", "N"},
      {"AZAME", "Azionari America", "N"},
      {"AZPAC", "Azionari Pacifico", "N"},
      {"AZEME", "Azionari Paesi Emergenti", "N"},
      {"AZSET", "Azionari Settoriali", "N"},
      {"BILAZ", "Bilanciati Azionari", "N"},
      {"BILOB", "Bilanciati Obbligazionari", "N"},
      {"FLESS", "Flessibili", "N"},
      {"OBEBT", "Obbligazionari Euro Breve Termine", "N"},
      {"OBEML", "Obbligazionari Euro Medio/Lungo Termine", "N"},
      {"OBINT", "Obbligazionari Internazionali", "N"},
      {"OBHY", "Obbligazionari Alto Rendimento", "N"},
      {"MONEU", "Monetari Euro", "N"},
      {"MONUSD", "Monetari Dollaro", "N"},
      {"POLUL", "Polizze Unit Linked", "N"},
      {"GESEP", "Gestioni Separate", "S"},
  };
  return list;
}

// Columns: code, description,
// currency, group, category, fund (share classes share it), start date, start value, risk,
// yearly cost, special shape.
const std::vector<DemoProduct>& DemoCatalogue::products() {
  using S = DemoSpecial;
  static const std::vector<DemoProduct> list = {
      {"AZ001", "Azionario Italia", "EUR", "A", "AZITA", "AZ001", 1999, 1, 4, 10.0, 1.1, 0.0},
      {"AZ002", "Azionario Italia Piccole e Medie Imprese", "EUR", "A", "AZITA", "AZ002", 2001, 6,
       1, 5.0, 1.3, 0.0},
      {"AZ003A", "Azionario Europa Classe A", "EUR", "A", "AZEUR", "AZ003", 1999, 1, 4, 10.0, 1.0,
       0.0},
      {"AZ003B", "Azionario Europa Classe B (accumulazione)", "EUR", "A", "AZEUR", "AZ003", 1999, 1,
       4, 10.0, 1.0, 0.009},
      {"AZ004", "Azionario America", "USD", "A", "AZAME", "AZ004", 2000, 3, 1, 10.0, 1.0, 0.0},
      {"AZ004H", "Azionario America Classe Euro Coperta", "EUR", "A", "AZAME", "AZ004", 2000, 3, 1,
       10.0, 1.0, 0.006},
      {"AZ005", "Azionario Pacifico", "EUR", "A", "AZPAC", "AZ005", 2000, 1, 3, 5.0, 1.1, 0.0},
      {"AZ006", "Azionario Paesi Emergenti", "USD", "A", "AZEME", "AZ006", 2002, 1, 2, 10.0, 1.4,
       0.0},
      {"AZ007", "Azionario Tecnologia e Innovazione", "EUR", "A", "AZSET", "AZ007", 2000, 1, 3,
       10.0, 1.4, 0.0},
      {"AZ008", "Azionario Salute e Benessere", "EUR", "A", "AZSET", "AZ008", 2003, 2, 3, 5.0, 0.9,
       0.0},
      {"AZ009", "Azionario Globale Dividendi", "EUR", "A", "AZSET", "AZ009", 2004, 9, 1, 10.0, 0.8,
       0.0},
      {"AZ010", "Azionario Europa Valore", "EUR", "A", "AZEUR", "AZ010", 2001, 1, 2, 10.0, 0.9,
       0.0},
      {"BI001", "Bilanciato Prudente", "EUR", "B", "BILOB", "BI001", 1999, 1, 4, 5.0, 0.8, 0.0},
      {"BI002", "Bilanciato Equilibrato", "EUR", "B", "BILAZ", "BI002", 1999, 1, 4, 10.0, 1.0, 0.0},
      {"BI003", "Bilanciato Dinamico", "EUR", "B", "BILAZ", "BI003", 2000, 5, 2, 10.0, 1.3, 0.0},
      {"BI004", "Bilanciato Internazionale", "EUR", "B", "BILAZ", "BI004", 2002, 10, 1, 5.0, 1.1,
       0.0},
      {"BI005", "Flessibile Globale", "EUR", "B", "FLESS", "BI005", 2003, 1, 2, 10.0, 1.2, 0.0},
      {"OB001", "Obbligazionario Euro Breve Termine", "EUR", "O", "OBEBT", "OB001", 1999, 1, 4, 5.0,
       0.5, 0.0},
      {"OB002", "Obbligazionario Euro Medio Lungo Termine", "EUR", "O", "OBEML", "OB002", 1999, 1,
       4, 10.0, 1.0, 0.0},
      {"OB003", "Obbligazionario Governativo Italia", "EUR", "O", "OBEML", "OB003", 2000, 7, 3,
       10.0, 1.2, 0.0},
      {"OB004", "Obbligazionario Internazionale", "EUR", "O", "OBINT", "OB004", 2000, 1, 3, 5.0,
       1.3, 0.0},
      {"OB005", "Obbligazionario Dollaro", "USD", "O", "OBINT", "OB005", 2001, 4, 2, 10.0, 1.1,
       0.0},
      {"OB006", "Obbligazionario Alto Rendimento", "EUR", "O", "OBHY", "OB006", 2002, 3, 1, 10.0,
       2.0, 0.0},
      {"OB007", "Obbligazionario Paesi Emergenti", "USD", "O", "OBHY", "OB007", 2003, 6, 2, 10.0,
       2.2, 0.0},
      {"OB008", "Obbligazionario Flessibile", "EUR", "O", "OBINT", "OB008", 2004, 1, 2, 5.0, 1.0,
       0.0},
      {"MO001", "Monetario Euro", "EUR", "M", "MONEU", "MO001", 1999, 1, 4, 5.0, 1.0, 0.0},
      {"MO002", "Liquidita' Euro Plus", "EUR", "M", "MONEU", "MO002", 2002, 1, 2, 10.0, 1.5, 0.0},
      {"PO001", "Polizza Unit Linked Prudente", "EUR", "P", "POLUL", "PO001", 2000, 1, 3, 10.0, 0.6,
       0.0},
      {"PO002", "Polizza Unit Linked Equilibrata", "EUR", "P", "POLUL", "PO002", 2000, 1, 3, 10.0,
       1.0, 0.0},
      {"PO003", "Polizza Unit Linked Aggressiva", "EUR", "P", "POLUL", "PO003", 2001, 1, 2, 10.0,
       1.6, 0.0},
      {"PO004", "Polizza Multiramo Crescita", "EUR", "P", "POLUL", "PO004", 2004, 5, 3, 5.0, 1.2,
       0.0},
      {"MID2009", "Azionario Europa Nuove Opportunita'", "EUR", "A", "AZEUR", "MID2009", 2009, 4,
       15, 10.0, 1.0, 0.0, S::StartsMidYear},
      {"END2016", "Bilanciato Reddito (chiuso nel 2016)", "EUR", "B", "BILOB", "END2016", 2001, 3,
       1, 10.0, 0.9, 0.0, S::EndsEarly},
      {"NOIND", "Polizza Tradizionale a Premio Unico", "EUR", "P", "POLUL", "NOIND", 2010, 1, 4,
       10.0, 0.3, 0.0, S::NoIndexSeries},
      {"GESTSEP", "Gestione Separata Rivalutazione", "EUR", "P", "GESEP", "GESTSEP", 2003, 1, 2,
       10.0, 0.2, 0.0, S::CategoryWithoutIndex},
      {"FISSO", "Fondo a Valore Fisso", "EUR", "M", "MONEU", "FISSO", 2005, 1, 3, 100.0, 1.0, 0.0,
       S::FixedValue},
      {"ZERI", "Obbligazionario Euro Societario", "EUR", "O", "OBEML", "ZERI", 2002, 1, 2, 10.0,
       1.0, 0.0, S::ZeroValues},
      {"ERR999", "Azionario Giappone", "EUR", "A", "AZPAC", "ERR999", 2001, 1, 2, 10.0, 1.2, 0.0,
       S::MaxValue},
      {"DATA1900", "Monetario Dollaro", "USD", "M", "MONUSD", "DATA1900", 2004, 1, 2, 10.0, 1.0,
       0.0, S::UndatedRecord},
      {"VUOTO", "Azionario Europa Nuovo Collocamento", "EUR", "A", "AZEUR", "VUOTO", 2025, 1, 2,
       10.0, 1.0, 0.0, S::NoRecords},
  };
  return list;
}

WalkParams DemoCatalogue::walkFor(const DemoProduct& product) {
  struct GroupMoves {
    char group;
    double drift, volatility, sensitivity;
  };
  static constexpr GroupMoves kMoves[] = {
      {'A', 0.015, 0.11, 1.00},  {'B', 0.015, 0.05, 0.50}, {'O', 0.025, 0.035, 0.10},
      {'M', 0.012, 0.004, 0.00}, {'P', 0.020, 0.05, 0.45},
  };
  WalkParams params;
  for (const auto& moves : kMoves) {
    if (product.group.front() != moves.group) continue;
    params.annualDrift = moves.drift - product.yearlyCost;
    params.annualVolatility = moves.volatility * product.risk;
    params.marketSensitivity = moves.sensitivity * product.risk;
  }
  params.startValue = product.startValue;
  return params;
}

std::string_view DemoCatalogue::note(DemoSpecial special) {
  switch (special) {
    case DemoSpecial::None:
      return "";
    case DemoSpecial::StartsMidYear:
      return "storia da mercoledi' 15/04/2009";
    case DemoSpecial::EndsEarly:
      return "storia chiusa il 30/09/2016";
    case DemoSpecial::NoIndexSeries:
      return "NoIndici = 1 (indice sempre 1)";
    case DemoSpecial::CategoryWithoutIndex:
      return "categoria di Tipo S (indice sempre 1)";
    case DemoSpecial::FixedValue:
      return "valore fisso 100 al 31/12/2199";
    case DemoSpecial::ZeroValues:
      return "tre valori zero nella serie";
    case DemoSpecial::MaxValue:
      return "un valore 999999 nella serie";
    case DemoSpecial::UndatedRecord:
      return "un record datato 01/01/1900";
    case DemoSpecial::NoRecords:
      return "nessun record in Indici";
  }
  return "";
}

}  // namespace utilities
