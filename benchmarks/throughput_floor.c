/* The floor of bandmatch's piped throughput: a bare C program that makes the system calls the
 * console program makes for a piped session, and nothing else. Per answer word it writes one
 * prompt (the console is flushed before every read); per pass it creates two temporary report
 * files when the name is read, and at the closing answer writes the console report, then
 * writes each report whole, checks the target's permissions, closes it and renames it into
 * place. No dialogue logic, no synthesis, no number formatting.
 *
 * Build and time it like the real program (the same 1000-pass input, the same report names):
 *   cc -O2 -o build/throughput_floor benchmarks/throughput_floor.c
 *   scripts/throughput.sh build/throughput_floor
 */
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { PROMPT_BYTES = 80, CONSOLE_REPORT_BYTES = 2400, REPORT_BYTES = 2600, NAME_BYTES = 256 };

static char prompt[PROMPT_BYTES];
static char consoleReport[CONSOLE_REPORT_BYTES];
static char report[REPORT_BYTES];

static void writeAll(int descriptor, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(descriptor, data, size);
    if (written <= 0) {
      return;
    }
    data += written;
    size -= (size_t)written;
  }
}

/* The next whitespace-delimited word of standard input, read through a 4096-byte buffer as
 * stdio reads it; 0 at the end of the input. */
static int readWord(char* word, size_t capacity) {
  static char buffer[4096];
  static size_t length = 0;
  static size_t next = 0;
  size_t size = 0;
  for (;;) {
    if (next == length) {
      const ssize_t got = read(0, buffer, sizeof buffer);
      if (got <= 0) {
        break;
      }
      length = (size_t)got;
      next = 0;
    }
    const char c = buffer[next++];
    if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
      if (size > 0) {
        break;
      }
      continue;
    }
    if (size + 1 < capacity) {
      word[size++] = c;
    }
  }
  word[size] = '\0';
  return size > 0;
}

struct Report {
  char target[NAME_BYTES + 8];
  char temporary[NAME_BYTES + 40];
  int descriptor;
};

static void beginReport(struct Report* file, const char* name, const char* suffix) {
  snprintf(file->target, sizeof file->target, "%s%s", name, suffix);
  snprintf(file->temporary, sizeof file->temporary, "%s.tmp-%ld-0", file->target,
           (long)getpid());
  file->descriptor = open(file->temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

static void finishReport(struct Report* file) {
  struct stat existing;
  writeAll(file->descriptor, report, sizeof report);
  if (lstat(file->target, &existing) == 0 && S_ISREG(existing.st_mode)) {
    fchmod(file->descriptor, existing.st_mode & 07777);
  }
  close(file->descriptor);
  rename(file->temporary, file->target);
}

int main(void) {
  static char reportAndPrompt[CONSOLE_REPORT_BYTES + PROMPT_BYTES];
  memset(prompt, 'p', sizeof prompt);
  memset(consoleReport, 'r', sizeof consoleReport);
  memcpy(reportAndPrompt, consoleReport, sizeof consoleReport);
  memcpy(reportAndPrompt + sizeof consoleReport, prompt, sizeof prompt);
  memset(report, 'f', sizeof report);
  char word[NAME_BYTES];
  struct Report text;
  struct Report csv;
  /* Answers of a pass: name, N, method, load, f1, f2, two load values (three for method l),
   * then the closing answer. */
  int answer = 0;
  int closing = 9;
  for (;;) {
    ++answer;
    if (answer == closing) {
      /* The design is complete: the reports go into place, and the console report leaves with
       * the closing question's prompt in one write, as the buffered console sends it. */
      finishReport(&text);
      finishReport(&csv);
      writeAll(1, reportAndPrompt, sizeof reportAndPrompt);
    } else {
      writeAll(1, prompt, sizeof prompt);
    }
    if (!readWord(word, sizeof word)) {
      return 1;
    }
    if (answer == 1) {
      beginReport(&text, word, ".txt");
      beginReport(&csv, word, ".csv");
    } else if (answer == 3) {
      closing = word[0] == 'l' ? 10 : 9;
    } else if (answer == closing) {
      if (word[0] == 'e') {
        return 0;
      }
      answer = 0;
    }
  }
}
