#include "ppihost/batch_run.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <optional>

#include "ppihost/batch_admission.h"
#include "ppihost/com_ref.h"
#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/image_file.h"
#include "ppihost/input_patterns.h"
#include "ppihost/interrupt.h"
#include "ppihost/path_names.h"
#include "ppihost/progress_bar.h"

namespace {

// The output of `input` in `folder`: its base name with `extension`, or with its own
// when that is empty.
std::wstring OutputName(const std::wstring& folder, const std::wstring& input,
                        const std::wstring& extension) {
  const size_t slash = input.find_last_of(L"\\/:");
  const std::wstring name = slash == std::wstring::npos ? input : input.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  // ".profile" is all base name.
  const size_t baseEnd = dot == std::wstring::npos || dot == 0 ? name.size() : dot;
  const wchar_t last = folder.back();
  return folder + (last == L'\\' || last == L'/' || last == L':' ? L"" : L"\\") +
         name.substr(0, baseEnd) + (extension.empty() ? name.substr(baseEnd) : extension);
}

// Two inputs that would write one output: the later would replace the earlier.
void RefuseSharedOutputs(const std::vector<BatchPicture>& pictures) {
  std::vector<std::pair<std::wstring, size_t>> outputs;
  for (size_t i = 0; i < pictures.size(); ++i) {
    outputs.push_back({FoldCase(FullPath(pictures[i].output)), i});
  }
  std::sort(outputs.begin(), outputs.end());
  for (size_t i = 1; i < outputs.size(); ++i) {
    if (outputs[i].first != outputs[i - 1].first) continue;
    const BatchPicture& a = pictures[outputs[i - 1].second];
    const BatchPicture& b = pictures[outputs[i].second];
    throw HostError{kExitUsage, a.input + L" and " + b.input + L" would both be written to " +
                                    b.output + L"; nothing was written"};
  }
}

// The batch's lines on standard error. On a terminal one progress bar stands for the
// whole batch, below the lines that name failures; into a pipe only those lines go.
class BatchConsole {
 public:
  BatchConsole(std::wstring label, size_t total)
      : label(std::move(label)), total(total), visible(IsTerminal(StdErr())) {
    Locked held(lock);
    Draw();
  }
  BatchConsole(const BatchConsole&) = delete;
  BatchConsole& operator=(const BatchConsole&) = delete;

  // A line above the bar; from any thread.
  void Line(const std::wstring& text) {
    Locked held(lock);
    if (drawn > 0) Write(StdErr(), L"\r" + std::wstring(drawn, L' ') + L"\r");
    drawn = 0;
    WriteLine(StdErr(), text);
    Draw();
  }
  // One picture more is done, written or not.
  void Done() {
    Locked held(lock);
    ++done;
    Draw();
  }
  // Ends the bar's line and says how the batch went.
  void Summary() {
    Locked held(lock);
    if (drawn > 0) Write(StdErr(), L"\n");
    drawn = 0;
    const size_t written = PicturesWritten();
    WriteLine(StdErr(), L"ppihost: " + std::to_wstring(written) + L" written, " +
                            std::to_wstring(done - written) + L" failed");
  }

 private:
  void Draw() {
    // Once interrupted, the line saying so stays the last on the terminal.
    if (!visible || InterruptRequested()) return;
    const std::wstring bar = ProgressLine(label, static_cast<int32_t>(done),
                                          static_cast<int32_t>(total)) +
                             L"  " + std::to_wstring(done) + L"/" + std::to_wstring(total);
    Write(StdErr(), L"\r" + bar);
    drawn = bar.size();
  }

  CriticalSection lock;
  const std::wstring label;
  const size_t total;
  const bool visible;
  // Guarded by `lock`.
  size_t done = 0;
  size_t drawn = 0;  // the bar's length on the terminal, 0 when none stands there
};

// One picture per processor.
int DefaultJobs() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return std::clamp(static_cast<int>(info.dwNumberOfProcessors), 1, kMaxJobs);
}

// What the threads share: the next picture to take, each picture's exit code, and,
// with several threads, the room the pictures in flight leave.
class Batch {
 public:
  Batch(const FilterJob& job, const std::vector<BatchPicture>& pictures, BatchAdmission* admission)
      : job(job), pictures(pictures), codes(pictures.size(), kExitOk),
        console(ShortName(job.filter), pictures.size()), admission(admission) {}

  // A thread's work: the next picture until none is left or the user interrupts.
  void operator()() {
    // Each thread reads and writes its pictures through its own imaging objects.
    const ComApartment com;
    for (;;) {
      if (InterruptRequested()) return;
      const size_t i = static_cast<size_t>(InterlockedIncrement(&taken) - 1);
      if (i >= pictures.size()) return;
      codes[i] = Filter(i);
      console.Done();
    }
  }

  int Finish() {
    console.Summary();
    for (int code : codes) {
      if (code != kExitOk) return code;
    }
    return kExitOk;
  }

 private:
  // A picture that ran out of memory beside others is tried once more, alone; only the
  // failure that counts is said.
  int Filter(size_t i) {
    Attempted attempt;
    if (!admission) {
      attempt = Attempt(pictures[i], nullptr);
    } else {
      bool again;
      {
        BatchAdmission::Entry entry(*admission, i, pictures[i].input);
        attempt = Attempt(pictures[i], &entry);
        again = TryAgainAlone(attempt.outOfMemory, entry.End());
      }
      if (again) {
        BatchAdmission::Entry entry(*admission, i, pictures[i].input);
        entry.WaitAlone();
        attempt = Attempt(pictures[i], &entry);
      }
    }
    if (!attempt.failure.empty()) console.Line(attempt.failure);
    return attempt.code;
  }

  // One attempt's exit code, and the line that says why it failed, not said yet.
  struct Attempted {
    int code = kExitOk;
    std::wstring failure{};
    bool outOfMemory = false;
  };
  Attempted Attempt(const BatchPicture& picture, PixelGate* gate) {
    const auto say = [this](const std::wstring& line) { console.Line(line); };
    try {
      OutputFile output(picture.output);
      return {FilterPicture(job, picture.input, picture.output, output, say, gate)};
    } catch (const HostError& e) {
      return {e.exitCode, L"ppihost: " + e.message, e.outOfMemory};
    } catch (const std::exception& e) {
      return {kExitFailure, L"ppihost: " + picture.input + L": " + WideFromCodePage(e.what(), CP_ACP),
              dynamic_cast<const std::bad_alloc*>(&e) != nullptr};
    }
  }

  const FilterJob& job;
  const std::vector<BatchPicture>& pictures;
  std::vector<int> codes;  // each written by the thread that took its picture
  volatile LONG taken = 0;
  BatchConsole console;
  BatchAdmission* const admission;  // null with one thread
};

}  // namespace

std::vector<BatchPicture> PlanBatch(const Arguments& args) {
  if (args.positional.size() < 3) {
    throw HostError{kExitUsage, L"wrong number of arguments for run (see ppihost help)"};
  }
  const std::wstring extension = args.format ? ExtensionOfFormat(*args.format) : L"";
  std::vector<BatchPicture> pictures;
  for (const std::wstring& input :
       ExpandInputs({args.positional.begin() + 2, args.positional.end()})) {
    pictures.push_back({input, OutputName(*args.outDir, input, extension)});
  }
  RefuseSharedOutputs(pictures);
  // Without --format each output keeps its input's type, which may be one that is only
  // read (GIF).
  for (const BatchPicture& picture : pictures) {
    try {
      CheckWritableImageName(picture.output);
    } catch (const HostError& e) {
      throw HostError{e.exitCode, e.message + L"; choose one with --format"};
    }
  }
  CheckOutputFolder(*args.outDir);
  return pictures;
}

int RunBatch(const FilterJob& job, const std::vector<BatchPicture>& pictures, int jobs) {
  AnnounceBatch(pictures.size());
  const size_t count =
      std::min(pictures.size(), static_cast<size_t>(jobs > 0 ? jobs : DefaultJobs()));
  // One thread runs its pictures one after another as they come; several share the room.
  std::optional<BatchAdmission> admission;
  if (count > 1) admission.emplace(MemoryBudget());
  Batch batch(job, pictures, admission ? &*admission : nullptr);
  {
    std::vector<std::unique_ptr<JoinedThread<Batch>>> threads;
    for (size_t i = 0; i < count; ++i) {
      threads.push_back(std::make_unique<JoinedThread<Batch>>(batch));
    }
  }
  return batch.Finish();
}
