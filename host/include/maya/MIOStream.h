#ifndef _MIOStream
#define _MIOStream
// The host's iostream header: brings the standard stream names into the global
// namespace, as plug-in code (and the CHECK_MSTATUS macros) expect.
#include <iostream>
#include <iomanip>
#include <fstream>

using std::cerr;
using std::cin;
using std::clog;
using std::cout;
using std::endl;
using std::flush;
using std::ios;
using std::iostream;
using std::istream;
using std::ostream;
using std::streampos;
using std::ws;

#endif
