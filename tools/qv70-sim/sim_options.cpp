#include "sim_options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace qv70::sim {

std::string SimUsage() {
  return "usage: qv70-sim [--socket PATH] [--demo [--seed N] | --load FILE] [--log FILE]\n"
         "                [--fault KIND:PREFIX]... [--drip-interval MS] [--no-accept]\n"
         "                [--idn TEXT] [--serial TEXT]\n"
         "       qv70-sim [--socket PATH] --print-socket\n"
         "\n"
         "A stand-in for the QV70 instrument on a Unix socket, found by libZvUsbSgl.so.\n"
         "  --socket PATH   listen here (default qv70-sim.sock in /run/user/<uid>, else\n"
         "                  in /tmp/qv70-<uid>/); the library finds it through\n"
         "                  QV70_SIM_SOCKET or the default path\n"
         "  --print-socket  print the socket path it would listen on, and end\n"
         "  --demo          fill the memory with a plausible demo instrument\n"
         "  --seed N        the demo's seed (default 1); also seeds the garbage fault\n"
         "  --load FILE     fill the memory from a data file (.csv, either layout)\n"
         "  --log FILE      write every command received, one per line\n"
         "  --fault K:P     for commands beginning with P: silent (empty reply), nak (NG),\n"
         "                  hang (no reply), garbage (random bytes), drip (the reply one\n"
         "                  byte at a time); reply:P=TEXT answers TEXT; P may be empty\n"
         "                  (all); --fault absent: no instrument attached; may be repeated\n"
         "  --drip-interval MS  milliseconds between the bytes of a drip (default 1000)\n"
         "  --no-accept     listen but never accept a connection\n"
         "  --idn TEXT      the identification reply (default \"ZAVEL ,QV70 ,Ver1.00\")\n"
         "  --serial TEXT   the serial number reply\n"
         "Without --demo or --load the instrument's memory is empty.\n";
}

bool ParseSimOptions(const std::vector<std::string>& arguments, SimOptions& options, std::string& error) {
  bool seedGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    if (option == "--demo") {
      options.demo = true;
      continue;
    }
    if (option == "--print-socket") {
      options.printSocket = true;
      continue;
    }
    if (option == "--no-accept") {
      options.noAccept = true;
      continue;
    }
    static const char* const kWithValue[] = {"--socket", "--seed",  "--load",  "--log",
                                             "--fault",  "--idn",   "--serial", "--drip-interval"};
    bool known = false;
    for (const char* name : kWithValue) known = known || option == name;
    if (!known) {
      error = "unknown option \"" + option + "\"";
      return false;
    }
    if (i + 1 >= arguments.size()) {
      error = option + " needs a value";
      return false;
    }
    const std::string& value = arguments[++i];
    if (option == "--socket") {
      if (value.empty()) {
        error = "--socket needs a path";
        return false;
      }
      options.socketPath = value;
    } else if (option == "--seed") {
      char* end = nullptr;
      errno = 0;
      unsigned long long seed = std::strtoull(value.c_str(), &end, 10);
      if (value.empty() || !std::isdigit(static_cast<unsigned char>(value[0])) || *end != '\0' || errno != 0) {
        error = "--seed needs a whole number, not \"" + value + "\"";
        return false;
      }
      options.seed = seed;
      seedGiven = true;
    } else if (option == "--load") {
      if (value.empty()) {
        error = "--load needs a file name";
        return false;
      }
      options.loadPath = value;
    } else if (option == "--log") {
      if (value.empty()) {
        error = "--log needs a file name";
        return false;
      }
      options.logPath = value;
    } else if (option == "--fault") {
      Fault fault{};
      if (!ParseFault(value, fault, error)) return false;
      options.faults.push_back(fault);
    } else if (option == "--drip-interval") {
      char* end = nullptr;
      errno = 0;
      long interval = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || errno != 0 || interval < 1 || interval > 60000) {
        error = "--drip-interval needs milliseconds from 1 to 60000, not \"" + value + "\"";
        return false;
      }
      options.dripIntervalMs = static_cast<int>(interval);
    } else if (option == "--idn") {
      options.idn = value;
    } else {
      options.serial = value;
    }
  }
  if (options.demo && !options.loadPath.empty()) {
    error = "--demo and --load cannot be used together";
    return false;
  }
  if (seedGiven && !options.loadPath.empty()) {
    error = "--seed belongs to --demo, not to --load";
    return false;
  }
  return true;
}

}  // namespace qv70::sim
