#pragma once

// What the command-line tool's exit status tells a script.
enum ExitStatus
{
    Success = 0,
    NothingFound = 1,  // a search without hits, a document or page that is not there
    BadArguments = 2,  // the command line asks for something the tool cannot do
    DatabaseError = 3, // a missing or unreadable database, or a failed statement
    SourceError = 4,   // convert: the source folder or one of its files cannot be read;
                       // import: update files were set aside
    WriteError = 5     // export: the archive cannot be written
};
