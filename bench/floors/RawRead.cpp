// The floor of the aircraft scan: plain libc calls that list the same object
// folders and read the same configuration files, and nothing else.
//   bench_raw_read OBJECT_FOLDER...
// prints the number of files and bytes read.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  static char buffer[1 << 16];
  long long files = 0, bytes = 0;
  for (int a = 1; a < argc; ++a) {
    DIR* base = opendir(argv[a]);
    if (!base) continue;
    while (dirent* e = readdir(base)) {
      if (e->d_name[0] == '.' || e->d_type != DT_DIR) continue;
      const std::string folder = std::string(argv[a]) + "/" + e->d_name;
      DIR* dir = opendir(folder.c_str());
      if (!dir) continue;
      std::string cfg;
      while (dirent* f = readdir(dir))
        if (strcasecmp(f->d_name, "aircraft.cfg") == 0 || (cfg.empty() && strcasecmp(f->d_name, "sim.cfg") == 0))
          cfg = f->d_name;
      closedir(dir);
      if (cfg.empty()) continue;
      const int fd = open((folder + "/" + cfg).c_str(), O_RDONLY);
      if (fd < 0) continue;
      for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) bytes += got;
      close(fd);
      ++files;
    }
    closedir(base);
  }
  std::printf("%lld files, %lld bytes\n", files, bytes);
  return 0;
}
