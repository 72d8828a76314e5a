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

int usage()
{
    std::cerr << "usage: halcyon-localserver [--port N] [--fixtures DIR] [--root /PATH/]"
                 " [--broker-stomp-port N --broker-http-port N] [--delay-ms N]\n";
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
        if (i + 1 >= argc) {
            return usage();
        }
        const std::string value = argv[++i];
        if (arg == "--port") {
            if (!parsePort(value, options.port)) {
                return usage();
            }
        } else if (arg == "--fixtures") {
            std::string error;
            auto fixtures = localserver::loadFixtureDirectory(value, error);
            if (!fixtures) {
                std::cerr << "halcyon-localserver: " << error << "\n";
                return 1;
            }
            options.fixtures = std::move(*fixtures);
        } else if (arg == "--delay-ms") {
            if (!parsePort(value, delayMs)) {
                return usage();
            }
        } else if (arg == "--root") {
            options.root = value;
        } else if (arg == "--broker-stomp-port" || arg == "--broker-http-port") {
            if (!options.broker) options.broker = localserver::BrokerOptions{};
            if (!parsePort(value, arg == "--broker-stomp-port" ? options.broker->stompPort
                                                                 : options.broker->managementPort)) {
                return usage();
            }
        } else {
            return usage();
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
        return usage();
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
