// The update dialog: it runs the version check while it loads and shows one of three panels,
// connection error, up to date, or new version with the list of published updates, the
// release notes and the way to the updater. Modal; closed by any "&USCITA" or F2.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "update/VersionPage.h"

class QLabel;
class QPushButton;

namespace startup::ui {
struct AppContext;
}

namespace update::ui {

class Aggiorna : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kUpToDate = -1;
  static constexpr int kNewVersion = 0;

  // A dialog for the update site `site`, not yet loaded.
  Aggiorna(startup::ui::AppContext& ctx, UpdateSite site, QWidget* parent = nullptr);

  // Set by the caller before load(): whether the user is told every outcome.
  void setAgInforma(bool inform) { agInforma_ = inform; }

  // Fetches the version page (at most kFetchTimeoutMs, the window painting meanwhile under the
  // busy pointer), settles updateStatus() and lays out the panel of the outcome, centred on
  // the screen.
  void load();

  // -1 up to date, 0 new version, otherwise the error number of the failed fetch.
  int updateStatus() const { return updateStatus_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildHeader();
  void buildErrorPanel();
  void buildUpToDatePanel();
  void buildNewVersionPanel();
  void buildReminderPanel(QWidget* parent);
  QPushButton* exitButton(int index, QWidget* panel);
  void showConnectionError(const std::string& errorText);
  void showUpToDate();
  void showNewVersion(const VersionCheck& check);
  void setDialogHeight(int twips);
  void centre();
  // Every update line back to dark blue.
  void resetUpdateLineColours();
  void hover(QObject* watched);
  void openUpdatePage(QObject* line);
  void vaiAlSito();
  void aggiorna();
  void place(QWidget* widget, int left, int top, int width, int height) const;

  startup::ui::AppContext& ctx_;
  UpdateSite site_;
  bool agInforma_ = false;
  int updateStatus_ = kNewVersion;
  std::string programName_;
  std::string releaseNotesPage_;
  std::vector<std::string> updatePageUrls_;  // slot n holds line n's page; slot 0 stays ""
  std::vector<QWidget*> panels_;             // Picture1(0..3)
  std::vector<QLabel*> lines_;               // lbAgg(0..n), 0 the hidden template
  std::vector<QPushButton*> cmdAggiorna_;
  QLabel* lbExe_ = nullptr;
  QLabel* lbMessErr_ = nullptr;
  QLabel* label1_ = nullptr;
  std::vector<QLabel*> lbVersion_;
};

}  // namespace update::ui
