#include "core/checklists/KneeboardChecklist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "base/Cp1252.h"
#include "base/FileIo.h"
#include "base/PathGuard.h"
#include "core/data/ChecklistStore.h"
#include "core/data/SettingsStore.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "data/ChecklistFiles.h"
#include "data/Settings.h"
#include "platform/SimInstallation.h"

namespace qv::checklists {
namespace {

using shell::kCr;
using shell::kCr2;

const QString kStandby = QStringLiteral("Please standby...");
const QString kPressOk = QStringLiteral("Please press OK to continue...");
const QString kCrLf = QStringLiteral("\r\n");

// Section headings as the kneeboard shows them (the editor words the last one
// differently).
const QString kSectionHeadings[data::kSectionCount] = {
    QStringLiteral("Preflight"),
    QStringLiteral("Pushback"),
    QStringLiteral("Start Engines and Before Taxi"),
    QStringLiteral("Runup"),
    QStringLiteral("Before Takeoff"),
    QStringLiteral("After Takeoff Climb"),
    QStringLiteral("Cruise"),
    QStringLiteral("Descent"),
    QStringLiteral("Approach"),
    QStringLiteral("Landing"),
    QStringLiteral("After Landing"),
    QStringLiteral("Engine Shutdown and Secure Aircraft"),
};

const QString kFont = QStringLiteral("<font face=\"Arial, Helvetica, sans-serif\" size=\"2\">");
const QString kRule = QStringLiteral("<hr width=\"400\" align=\"left\" color=\"#000000\" noshade size=\"1\">") + kCrLf;
const QString kTableOpen =
    QStringLiteral("<table width=\"400\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">") + kCrLf;

// Names, challenges and responses are typed by users; a "<" or "&" in one
// would otherwise be read as markup by the kneeboard.
QString Html(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    if (c == u'&')
      out += QStringLiteral("&amp;");
    else if (c == u'<')
      out += QStringLiteral("&lt;");
    else if (c == u'>')
      out += QStringLiteral("&gt;");
    else
      out += c;
  }
  return out;
}

QString Row(const QString& left, const QString& right) {
  return "<tr><td width=\"220\"><b><font size=\"2\">" + left + "</font></b></td><td width=\"180\"><font size=\"2\">" +
         right + "</font></td></tr>" + kCrLf;
}

// The head shared by checklist sections and script blocks: rule, bold title, table.
QString BlockHead(const QString& title) {
  return "<br>" + kCrLf + kRule + kFont + " <b>" + title + "</b><br>" + kCrLf + "<br>" + kCrLf + kTableOpen;
}

QString BlockTail() { return "</table>" + kCrLf + "</font>" + kCrLf; }

QString PageHead(const QString& name) {
  QString s;
  s += "<html>" + kCrLf;
  s += "<head>" + kCrLf;
  s += "<title>" + name + " Checklist</title>" + kCrLf;
  s += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">" + kCrLf;
  s += "</head>" + kCrLf + kCrLf;
  s += "<body bgcolor=\"#FFFFFF\" text=\"#000000\">" + kCrLf;
  s += "<b>" + kFont + name + " Checklist</font></b>" + kFont + "<br>" + kCrLf;
  s += "<br>" + kCrLf;
  s += "Quorvane Checklist and Speech Recognition Commands.  Full Quorvane script below the checklist.</font><br>" +
       kCrLf;
  return s;
}

QString ScriptHead() {
  return "<br>" + kCrLf + kRule + kFont + " <b>Grammar Script</b><br>" + kCrLf + "<br>" + kCrLf +
         "The following is broken into command categories and the associated commands.  Each command includes the "
         "script that you may speak to control Flight Simulator.  If you make changes to your grammar phrases using "
         "the Quorvane interface, generate a new checklist to show the changes.</font><br>" +
         kCrLf;
}

QString PageClose() { return "</body>" + kCrLf + "</html>" + kCrLf; }

QString SectionBlock(int k, const std::vector<data::ChecklistItem>& items) {
  QString s = BlockHead(kSectionHeadings[k]);
  for (const data::ChecklistItem& item : items)
    s += Row(Html(grammar::TrimSpaces(item.challenge)), Html(grammar::TrimSpaces(item.response).toUpper()));
  return s + BlockTail();
}

QString ScriptSentence(const QString& expanded) {
  QString p = grammar::TrimSpaces(expanded);
  if (!p.isEmpty()) p[0] = p[0].toUpper();
  p.replace(u'<', u'[');
  p.replace(u'>', u']');
  return p;
}

// --- the aircraft -------------------------------------------------------------

const AircraftVariation* Variation(const shell::AppState& state, int m, int t, int v) {
  const auto& ms = state.catalogue.manufacturers;
  if (m < 0 || m >= static_cast<int>(ms.size())) return nullptr;
  const auto& ts = ms[m].types;
  if (t < 0 || t >= static_cast<int>(ts.size())) return nullptr;
  const auto& vs = ts[t].variations;
  if (v < 0 || v >= static_cast<int>(vs.size())) return nullptr;
  return &vs[v];
}

data::ChecklistAssignment* Assignment(shell::AppState& state, const AircraftVariation& variation) {
  const int i = variation.assignmentIndex;
  if (i < 0 || i >= static_cast<int>(state.assignments.size())) return nullptr;
  return &state.assignments[i];
}

QString PageKey(const AircraftVariation& v) { return v.checklistPage.trimmed().toUpper(); }

bool AnyWritten(const shell::AppState& state) {
  for (const auto& a : state.assignments)
    if (a.written == 1) return true;
  return false;
}

// Whether any page stays written once the variations sharing v's page are
// cleared: what the settings value will be after a restore.
bool AnyWrittenBesidesPage(shell::AppState& state, int m, int t, int v) {
  const AircraftVariation* self = Variation(state, m, t, v);
  if (!self) return AnyWritten(state);
  std::vector<bool> cleared(state.assignments.size(), false);
  for (const AircraftVariation& w : state.catalogue.manufacturers[m].types[t].variations)
    if (PageKey(w) == PageKey(*self) && w.assignmentIndex >= 0 && w.assignmentIndex < static_cast<int>(cleared.size()))
      cleared[w.assignmentIndex] = true;
  for (size_t i = 0; i < state.assignments.size(); ++i)
    if (!cleared[i] && state.assignments[i].written == 1) return true;
  return false;
}

QString AircraftName(const AircraftVariation& v) { return v.title.trimmed(); }

// --- file steps ----------------------------------------------------------------

// A page or backup larger than this is not one a kneeboard shows.
constexpr qint64 kMaxPageSize = 64 * base::kMiB;

// The head line every page we write carries: what tells our pages apart.
const QByteArray kOurPageMark = "Quorvane Checklist and Speech Recognition Commands.";

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

bool IsFile(const QString& path) { return QFileInfo(path).isFile(); }

// The files of one aircraft's page, with every link resolved, or why they
// cannot be touched. The page is named by the aircraft's own configuration,
// so it, and its backup beside it, must stay inside the aircraft's folder.
struct PageFiles {
  QString page;
  QString backup;
  QString problem;
};

PageFiles FilesOf(const AircraftVariation& variation) {
  PageFiles f;
  const QString named = variation.checklistPage;
  f.page = base::ResolvedPath(named);
  if (f.page.isEmpty() || !base::StaysInside(variation.folder, f.page)) {
    f.problem = "its page " + Native(named) + " lies outside the aircraft's folder " + Native(variation.folder) +
                ", where Quorvane does not write";
    return f;
  }
  if (QFileInfo::exists(f.page) && !IsFile(f.page)) {
    f.problem = "its page " + Native(named) + " is not a regular file";
    return f;
  }
  f.backup = base::ResolvedPath(BackupFileOf(f.page));
  if (f.backup.isEmpty() || !base::StaysInside(variation.folder, f.backup)) {
    f.problem = "its backup " + Native(BackupFileOf(f.page)) + " leads outside the aircraft's folder " +
                Native(variation.folder) + ", where Quorvane does not write";
  } else if ((QFileInfo::exists(f.backup) || QFileInfo(f.backup).isSymLink()) && !IsFile(f.backup)) {
    f.problem = "its backup " + Native(f.backup) + " is not a regular file";
  }
  return f;
}

// Whether the folder holds a page of ours, or a backup waiting to be put
// back. A backup that is the page itself (a run ended between taking it and
// writing the page, or between putting it back and removing it) is a spare
// copy: it goes, and the page counts as the simulator's.
bool WrittenOnDisk(const PageFiles& files) {
  QByteArray page, backup;
  const bool hasPage = IsFile(files.page) && base::ReadFileLimited(files.page, page, kMaxPageSize);
  if (hasPage && page.left(4096).contains(kOurPageMark)) return true;
  if (!IsFile(files.backup)) return false;
  if (hasPage && base::ReadFileLimited(files.backup, backup, kMaxPageSize) && backup == page)
    return !base::RemoveFile(files.backup);
  return true;
}

// Backs up, builds and writes one aircraft's page. Empty on success, else
// what failed; the aircraft folder is then as it was.
QString WriteOne(shell::Context& ctx, const AircraftVariation& variation, const QString& checklistName) {
  shell::AppState& state = ctx.state;
  const PageFiles files = FilesOf(variation);
  if (!files.problem.isEmpty()) return files.problem;

  // An existing backup holds the page from before the first write; keep it.
  bool tookBackup = false;
  if (!IsFile(files.backup) && IsFile(files.page)) {
    if (const base::FileResult copied = base::CopyFileAtomic(files.page, files.backup, kMaxPageSize); !copied)
      return "its page could not be backed up (" + copied.error() + ")";
    tookBackup = true;
  }
  const auto undoBackup = [&] {
    // An identical copy of the page, which is still there.
    if (tookBackup) static_cast<void>(base::RemoveFile(files.backup));
  };

  if (!state.kneeboardScriptBuilt) {
    ctx.dialogs.ProgressOpen(QStringLiteral("Creating Grammar Script"),
                             "Creating the complete grammar phrases script." + kCr2 + kStandby);
    BuildKneeboardScript(ctx);
    ctx.dialogs.ProgressHide();
  }

  QString loadError;
  if (data::LoadChecklistFile(state, checklistName + ".dat", &loadError) != 0) {
    undoBackup();
    return "its checklist could not be read (" + loadError + ")";
  }

  ctx.dialogs.ProgressOpen(QStringLiteral("Writing Checklist"), "Writing Checklist" + kCr2 + kStandby);
  QString error;
  const int status = WriteKneeboardPage(ctx, files.page, checklistName, &error);
  ctx.dialogs.ProgressHide();
  if (status != 0) {
    undoBackup();
    return "its page could not be written (" + error + ")";
  }
  return {};
}

// Puts the backup back. Empty on success (also when there is no backup).
QString RestoreOne(const AircraftVariation& variation) {
  const PageFiles files = FilesOf(variation);
  if (!files.problem.isEmpty()) return files.problem;
  if (!IsFile(files.backup)) return {};  // a page generated where none was stays
  if (const base::FileResult copied = base::CopyFileAtomic(files.backup, files.page, kMaxPageSize); !copied)
    return "its page could not be replaced by the backup (" + copied.error() + ")";
  // Should the backup resist deletion, it is a copy of the page now in place,
  // and the next start counts the aircraft as written until it is gone.
  static_cast<void>(base::RemoveFile(files.backup));
  return {};
}

// Files in the simulator's folder are named from there on: the message box
// is small, and the aircraft's name says whose folder it is.
QString Shortened(const shell::Context& ctx, QString text) {
  const QString sim = Native(platform::SimulatorFolder(ctx.state.installDir));
  return text.replace(sim + QDir::separator(), QString());
}

void ReportOne(shell::Context& ctx, const QString& verb, const QString& aircraft, const QString& reason,
               const QString& consequence) {
  ctx.dialogs.ShowMessage(QStringLiteral("Quorvane Error"),
                          "The kneeboard checklist of " + aircraft + " could not be " + verb + ": " +
                              Shortened(ctx, reason) + "." + kCr2 + consequence + kCr2 + kPressOk,
                          shell::kIconWarning, true, false, QString());
}

void ReportMany(shell::Context& ctx, const QString& verb, const QStringList& failures, const QString& consequence) {
  if (failures.isEmpty()) return;
  constexpr qsizetype kShown = 20;  // a read-only simulator folder fails every aircraft alike
  QStringList lines = failures.mid(0, kShown);
  for (QString& line : lines) line = Shortened(ctx, line);
  if (failures.size() > kShown) lines << QStringLiteral("... and %1 more.").arg(failures.size() - kShown);
  ctx.dialogs.ShowMessage(QStringLiteral("Quorvane Error"),
                          "Some FSX aircraft kneeboard checklists could not be " + verb + ":" + kCr2 + lines.join(kCr) +
                              kCr2 + consequence + kCr2 + kPressOk,
                          shell::kIconWarning, true, false, QString());
}

const QString kWriteKept = QStringLiteral("The page FSX shows has been left as it was.");
const QString kRestoreKept = QStringLiteral("The backup has been kept, so that the page can be restored later.");

}  // namespace

QString BackupPathOf(const QString& pagePath) {
  const QString path = pagePath.trimmed();
  const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
  QString name = path.mid(cut).toLower();
  name.replace(QStringLiteral(".htm"), QStringLiteral(".qvb"), Qt::CaseInsensitive);
  return path.left(cut) + name;
}

// An existing backup is found whatever its case, in the page's own folder:
// the folder is kept as it is, since another aircraft's folder may differ
// from it only in case.
QString BackupFileOf(const QString& pagePath) { return platform::OnDiskPath(BackupPathOf(pagePath)); }

void SetWrittenForSharedPage(shell::AppState& state, int m, int t, int v, int16_t value) {
  const AircraftVariation* self = Variation(state, m, t, v);
  if (!self) return;
  const QString key = PageKey(*self);
  for (const AircraftVariation& w : state.catalogue.manufacturers[m].types[t].variations)
    if (PageKey(w) == key)
      if (data::ChecklistAssignment* a = Assignment(state, w)) a->written = value;
}

int WriteAircraftChecklist(shell::Context& ctx, int m, int t, int v) {
  const AircraftVariation* variation = Variation(ctx.state, m, t, v);
  if (!variation) return 1;
  const data::ChecklistAssignment* assignment = Assignment(ctx.state, *variation);
  const QString name = assignment ? assignment->checklistName.trimmed() : QString();
  const QString failure = WriteOne(ctx, *variation, name);
  // The caller flags the aircraft sharing the page once this returns; a
  // setting that cannot be stored has been reported, the page stands.
  static_cast<void>(data::SaveChecklistBackups(ctx.state, ctx.dialogs, failure.isEmpty() || AnyWritten(ctx.state)));
  if (failure.isEmpty()) return 0;
  ReportOne(ctx, QStringLiteral("written"), AircraftName(*variation), failure, kWriteKept);
  return 1;
}

int RestoreAircraftChecklist(shell::Context& ctx, int m, int t, int v) {
  const AircraftVariation* variation = Variation(ctx.state, m, t, v);
  if (!variation) return 1;
  const QString failure = RestoreOne(*variation);
  static_cast<void>(data::SaveChecklistBackups(
      ctx.state, ctx.dialogs, failure.isEmpty() ? AnyWrittenBesidesPage(ctx.state, m, t, v) : AnyWritten(ctx.state)));
  if (failure.isEmpty()) return 0;
  ReportOne(ctx, QStringLiteral("restored"), AircraftName(*variation), failure, kRestoreKept);
  return 1;
}

int UpdateAllChecklists(shell::Context& ctx) {
  shell::AppState& state = ctx.state;
  QStringList failures;
  const auto& ms = state.catalogue.manufacturers;
  for (int m = 0; m < static_cast<int>(ms.size()); ++m) {
    for (int t = 0; t < static_cast<int>(ms[m].types.size()); ++t) {
      for (int v = 0; v < static_cast<int>(ms[m].types[t].variations.size()); ++v) {
        const AircraftVariation& variation = ms[m].types[t].variations[v];
        const data::ChecklistAssignment* a = Assignment(state, variation);
        if (!a || a->written != 0 || a->checklistName.trimmed().isEmpty()) continue;
        const QString failure = WriteOne(ctx, variation, a->checklistName.trimmed());
        if (failure.isEmpty())
          SetWrittenForSharedPage(state, m, t, v, 1);
        else
          failures << AircraftName(variation) + ": " + failure + ".";
      }
    }
  }
  // Each save reports its own failure; the sentence of success comes only
  // when every page and both files were written.
  const bool saved = data::SaveChecklistBackups(state, ctx.dialogs, AnyWritten(state)) == 0 &&
                     data::SaveAssignments(state, ctx.dialogs) == 0;
  ReportMany(ctx, QStringLiteral("updated"), failures, kWriteKept);
  if (failures.isEmpty() && saved)
    ctx.dialogs.ShowMessage(QStringLiteral("Checklists Updated"),
                            "All FSX aircraft kneeboard checklists have been updated and the originals have been "
                            "backed up." +
                                kCr2 + kPressOk,
                            shell::kIconInformation, true, false, QString());
  emit state.aircraftMarksChanged();
  return failures.isEmpty() && saved ? 0 : 1;
}

int RestoreAllChecklists(shell::Context& ctx) {
  shell::AppState& state = ctx.state;
  const QString message = "Restoring all FSX aircraft checklists to their original state." + kCr2 + kStandby;
  ctx.dialogs.ProgressOpen(QStringLiteral("Restoring Checklists"), message);
  QStringList failures;
  const auto& ms = state.catalogue.manufacturers;
  const double step = ms.empty() ? 0.0 : 100.0 / static_cast<double>(ms.size());
  for (int m = 0; m < static_cast<int>(ms.size()); ++m) {
    ctx.dialogs.ProgressUpdate(message, m * step);
    for (const AircraftType& type : ms[m].types) {
      for (const AircraftVariation& variation : type.variations) {
        data::ChecklistAssignment* a = Assignment(state, variation);
        if (!a || a->written != 1) continue;
        const QString failure = RestoreOne(variation);
        if (failure.isEmpty())
          a->written = 0;
        else
          failures << AircraftName(variation) + ": " + failure + ".";
      }
    }
  }
  const bool saved = data::SaveChecklistBackups(state, ctx.dialogs, AnyWritten(state)) == 0 &&
                     data::SaveAssignments(state, ctx.dialogs) == 0;
  ctx.dialogs.ProgressHide();
  ReportMany(ctx, QStringLiteral("restored"), failures, kRestoreKept);
  if (failures.isEmpty() && saved)
    ctx.dialogs.ShowMessage(
        QStringLiteral("Checklists Restored"),
        "All FSX aircraft kneeboard checklists have been restored to their original state." + kCr2 + kPressOk,
        shell::kIconInformation, true, false, QString());
  ctx.shutdown.Shutdown();
  return failures.isEmpty() && saved ? 0 : 1;
}

void RunChecklistBackup(shell::Context& ctx) { UpdateAllChecklists(ctx); }

QStringList PagesLeftBehind(shell::AppState& state) {
  QStringList left;
  QSet<QString> seen;  // a page shared by several variations is looked at once
  for (const AircraftManufacturer& m : state.catalogue.manufacturers)
    for (const AircraftType& type : m.types)
      for (const AircraftVariation& variation : type.variations) {
        if (variation.checklistPage.trimmed().isEmpty()) continue;
        // A page leading out of the folder was never written there.
        const PageFiles files = FilesOf(variation);
        if (!files.problem.isEmpty() || seen.contains(files.page)) continue;
        seen.insert(files.page);
        if (IsFile(files.backup)) {
          left << AircraftName(variation) + ": its original page is still in " + Native(files.backup);
          continue;
        }
        QByteArray page;
        if (IsFile(files.page) && base::ReadFileLimited(files.page, page, kMaxPageSize) &&
            page.left(4096).contains(kOurPageMark)) {
          if (const base::FileResult removed = base::RemoveFile(files.page); !removed)
            left << AircraftName(variation) + ": the page Quorvane wrote could not be removed (" + removed.error() +
                        ")";
        }
      }
  return left;
}

void RepairWrittenFlags(shell::AppState& state) {
  QHash<QString, bool> pageWritten;  // resolved page -> what its folder holds
  const auto& ms = state.catalogue.manufacturers;
  for (int m = 0; m < static_cast<int>(ms.size()); ++m)
    for (int t = 0; t < static_cast<int>(ms[m].types.size()); ++t)
      for (int v = 0; v < static_cast<int>(ms[m].types[t].variations.size()); ++v) {
        const AircraftVariation& variation = ms[m].types[t].variations[v];
        const data::ChecklistAssignment* a = Assignment(state, variation);
        // Only an aircraft with a checklist or a written page can have been
        // caught halfway.
        if (!a || (a->written == 0 && a->checklistName.trimmed().isEmpty())) continue;
        const PageFiles files = FilesOf(variation);
        if (!files.problem.isEmpty()) continue;
        auto known = pageWritten.constFind(files.page);
        if (known == pageWritten.cend()) known = pageWritten.insert(files.page, WrittenOnDisk(files));
        if ((a->written != 0) != *known) SetWrittenForSharedPage(state, m, t, v, *known ? 1 : 0);
      }
}

QString KneeboardPageText(shell::Context& ctx, const QString& checklistName) {
  const QString name = Html(checklistName.trimmed());
  QString text = PageHead(name);
  const data::ChecklistFile& checklist = ctx.state.openChecklist;
  for (int k = 0; k < data::kSectionCount; ++k) {
    ctx.dialogs.ProgressUpdate(kCr + "Writing Checklist" + kCr2 + kStandby, k * (100.0 / 12.0));
    if (!checklist.sections[k].empty()) text += SectionBlock(k, checklist.sections[k]);
  }
  text += ScriptHead();
  for (const QString& block : ctx.state.kneeboardScript) text += block;
  text += PageClose();
  return text;
}

int WriteKneeboardPage(shell::Context& ctx, const QString& pagePath, const QString& checklistName, QString* error) {
  // The page declares a single-byte code page; it is written whole and
  // replaces the old page only once complete.
  const QByteArray bytes = base::ToCp1252(KneeboardPageText(ctx, checklistName));
  const base::FileResult written = base::WriteFileAtomic(pagePath, bytes);
  if (written) return 0;
  if (error) *error = written.error();
  return 1;
}

void BuildKneeboardScript(shell::Context& ctx) {
  shell::AppState& state = ctx.state;
  const QStringList categories = state.categories;
  state.kneeboardScript = QStringList();
  for (qsizetype i = 0; i < categories.size(); ++i) state.kneeboardScript << QString();
  const double step = categories.isEmpty() ? 0.0 : 100.0 / static_cast<double>(categories.size());

  for (qsizetype i = 0; i < categories.size(); ++i) {
    const QString category = grammar::TrimSpaces(categories[i]);
    ctx.dialogs.ProgressUpdate(kCr + "Command Category - " + category + kCr2 + kStandby, i * step);
    QString block = BlockHead(grammar::ToRoman(QString::number(i + 1)) + ".  " + Html(category));
    const QString key = category.toUpper();
    int n = 0;
    for (int c = 0; c < static_cast<int>(state.commands.size()); ++c) {
      const data::CommandRecord& command = state.commands[c];
      if (grammar::TrimSpaces(command.category).toUpper() != key) continue;
      QString label = QString::number(++n) + ".  " + Html(grammar::TrimSpaces(command.name));
      for (int g = 0; g < command.grammars.size(); ++g) {
        grammar::ExpandGrammar(ctx, c, g);
        // The expansion has shown "Grammar Error"; the block in progress is
        // dropped so that no page carries half a table.
        if (state.phraseCount == -99) return;
        for (const QString& sentence : state.phraseList) {
          block += Row(label, ScriptSentence(sentence));
          label.clear();
        }
      }
    }
    state.kneeboardScript[i] = block + BlockTail();
  }
  state.kneeboardScriptBuilt = true;
}

}  // namespace qv::checklists
