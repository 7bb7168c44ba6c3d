#include "startup/RunFile.h"

#include <system_error>

#include "platform/Strings.h"

namespace startup {

std::string shellErrorText(int code) {
  switch (code) {
    case 0:
      return "Memoria o risorse del sistema esaurite. ";
    case 2:
      return "Impossibile trovare il file. ";
    case 3:
      return "Impossibile trovare la cartella. ";
    case 11:
      return "Il formato del file non è valido. ";
    case 31:
      return "Il sistema in uso non presenta alcuna associazione per questo tipo di file. \r\r"
             "Installare un'applicazione appropriata oppure creare un'associazione. \r"
             "Per creare un'associazione, selezionare il file sottoindicato. Tenendo \r"
             "premuto il tasto Shift, cliccare col pulsante destro del mouse sul file. \r"
             "Selezionare la voce \"Apri con...\" e spuntare la casella \"Utilizza \r"
             "sempre...\". Selezionare l'applicazione appropriata e scegliere [Ok]. ";
    default:
      return "";
  }
}

int runFile(platform::Desktop& desktop, const std::string& file, const std::string& parameters,
            const std::string& folder) {
  int code = 0;
  std::string text;
  try {
    code = desktop.shellOpen(file, parameters, folder);
    text = shellErrorText(code);
  } catch (const std::system_error& error) {
    text = "[" + std::to_string(error.code().value()) + "]: " + error.what();
  } catch (const std::exception& error) {
    text = "[0]: " + std::string(error.what());
  }
  if (text.empty()) return code;
  text += "\r\rPercorso: '" + platform::trim(file) + "'\r";
  if (!platform::trim(folder).empty()) text += "Cartella: '" + folder + "'\r";
  if (!platform::trim(parameters).empty()) text += "Parametri: '" + parameters + "'";
  desktop.messageBox(
      {text, "RunFile: Errore di esecuzione", platform::Buttons::Ok, platform::Icon::Critical});
  desktop.processEvents();
  return code;
}

}  // namespace startup
