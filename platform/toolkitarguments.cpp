#include "platform/toolkitarguments.h"

ToolkitArguments::ToolkitArguments(int argc, char** argv, const QStringList& options) {
    for (int i = 0; i < argc; ++i) {
        m_arguments << QByteArray(argv[i]);
        if (i == 0)
            for (const QString& option : options)
                m_arguments << option.toLocal8Bit();
    }
    for (QByteArray& argument : m_arguments)
        m_argv.push_back(argument.data());
    m_argc = static_cast<int>(m_argv.size());
    m_argv.push_back(nullptr);
}
