// halcyon-localserver: serves the service's wire interface on the loopback
// interface until SIGINT or SIGTERM.
//
//   halcyon-localserver [--port N] [--fixtures DIR] [--root /PATH/]
//                       [--broker-stomp-port N --broker-http-port N]
//                       [--delay-ms N]
//
// --delay-ms holds every reply back that long: a slow service, for checking
// how a client's waits hold up.
// The broker ports (plain STOMP and management HTTP, as scripts/broker
// prints them) turn the players' presence channel on.
// Without --fixtures the built-in data is served. The first line on standard
// output is the service root's URL, so that a script can wait for it.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "localserver/Server.h"

namespace {

constexpr const char* kUsage =
    "usage: halcyon-localserver [--port N] [--fixtures DIR] [--root /PATH/]"
    " [--broker-stomp-port N --broker-http-port N] [--delay-ms N]";

int help()
{
    std::cout << kUsage << "\n\n"
              << "Serves the service's wire interface on 127.0.0.1 until SIGINT or SIGTERM; the first\n"
                 "line it prints is the service root's address.\n\n"
                 "  --port N               the port (default: 0, one the system picks)\n"
                 "  --fixtures DIR         the data to serve (default: the built-in data)\n"
                 "  --root /PATH/          the service root's path (default: /)\n"
                 "  --broker-stomp-port N  a message broker's plain STOMP port and\n"
                 "  --broker-http-port N   its management port, as scripts/broker prints\n"
                 "                         them: the presence channel on (default: off)\n"
                 "  --delay-ms N           hold every reply back N ms (default: 0)\n"
                 "  -h, --help             print this and exit\n";
    return 0;
}

// One line: what is wrong with the arguments, and how they go.
int refuse(const std::string& problem)
{
    std::cerr << "halcyon-localserver: " << problem << " (" << kUsage << ")\n";
    return 2;
}

bool parsePort(const std::string& text, int& port)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    port = std::atoi(text.c_str());
    return port <= 65535;
}

}  // namespace

int main(int argc, char** argv)
{
    localserver::ServerOptions options;
    // Nobody reads the log of a server that runs on its own: it keeps only
    // the latest requests, so a long demo does not grow without end.
    options.requestLogCapacity = 256;
    int delayMs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return help();
        }
        const bool numeric = arg == "--port" || arg == "--delay-ms" || arg == "--broker-stomp-port" ||
                             arg == "--broker-http-port";
        if (!numeric && arg != "--fixtures" && arg != "--root") {
            return refuse("unknown option: " + arg);
        }
        if (i + 1 >= argc) {
            return refuse(arg + " needs a value");
        }
        const std::string value = argv[++i];
        int number = 0;
        if (numeric && !parsePort(value, number)) {
            return refuse(arg + " wants a whole number from 0 to 65535, not \"" + value + "\"");
        }
        if (arg == "--port") {
            options.port = number;
        } else if (arg == "--delay-ms") {
            delayMs = number;
        } else if (arg == "--root") {
            options.root = value;
        } else if (arg == "--fixtures") {
            std::string error;
            auto fixtures = localserver::loadFixtureDirectory(value, error);
            if (!fixtures) {
                std::cerr << "halcyon-localserver: " << error << "\n";
                return 1;
            }
            options.fixtures = std::move(*fixtures);
        } else {
            if (!options.broker) options.broker = localserver::BrokerOptions{};
            (arg == "--broker-stomp-port" ? options.broker->stompPort : options.broker->managementPort) = number;
        }
    }

    // Blocked before any thread starts, so every thread inherits the mask
    // and the signals wait for sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    if (options.broker && (options.broker->stompPort == 0 || options.broker->managementPort == 0)) {
        return refuse("--broker-stomp-port and --broker-http-port go together, each above 0");
    }
    localserver::Server server(std::move(options));
    localserver::registerServiceRoutes(server);
    if (!server.start()) {
        std::cerr << "halcyon-localserver: " << server.error() << "\n";
        return 1;
    }
    if (delayMs > 0) {
        server.faults().injectNext(localserver::Fault::delayed(std::chrono::milliseconds(delayMs)),
                                   localserver::Faults::kUntilCleared);
    }
    std::cout << server.serviceRootUrl() << std::endl;

    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}
