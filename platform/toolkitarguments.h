#pragma once

#include <QByteArrayList>
#include <QStringList>

#include <vector>

// The command line the toolkit starts with: the program's own, with `options` put in just after
// the program's name, so that options the user gives still win. The toolkit keeps pointers into
// it and takes out what it reads: it lives as long as the application object.
class ToolkitArguments {
public:
    ToolkitArguments(int argc, char** argv, const QStringList& options);

    int& argc() { return m_argc; }
    char** argv() { return m_argv.data(); }

private:
    QByteArrayList m_arguments;
    std::vector<char*> m_argv;
    int m_argc = 0;
};
