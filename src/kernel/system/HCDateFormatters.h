#pragma once
// The client's shared date formatters (railsFormatter, httpFormatter,
// normalFormatter), all in GMT with English names.
//
// Thread: any thread; the formatters are immutable.
#include "platform/foundation/DateFormatter.h"

class HCDateFormatters {
public:
    // "yyyy-MM-dd'T'HH:mm:ss'Z'": dates read from and written to the service.
    static const platform::DateFormatter& railsFormatter() { return platform::DateFormatter::railsFormatter(); }
    // "ccc',' dd LLL yyyy HH:mm:ss ZZ": dates sent as request parameters.
    static const platform::DateFormatter& httpFormatter() { return platform::DateFormatter::httpFormatter(); }
    // The dashboard's ordinary date and time texts.
    static const platform::DateFormatter& normalFormatter() { return platform::DateFormatter::normalFormatter(); }
};
