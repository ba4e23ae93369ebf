#pragma once

#include "FileSystem.h"

class LocalFileSystem : public FileSystem
{
public:
    bool folderExists(const QString& path) const override;
    bool fileExists(const QString& path) const override;
    bool createFolder(const QString& path) override;
    bool removeFolder(const QString& path) override;
    bool removeFolderTree(const QString& path) override;
    bool copyFile(const QString& from, const QString& to, bool failIfExists) override;
    bool renameFile(const QString& from, const QString& to) override;
    bool deleteFile(const QString& path) override;
    bool nameFits(const QString& folder, const QString& name) const override;
    QString absolutePath(const QString& path) const override;
    std::vector<DirEntry> list(const QString& folderAndPattern) const override;
    std::optional<DirEntry> entry(const QString& path) const override;
    std::optional<FolderStamp> folderStamp(const QString& path) const override;
    bool readFile(const QString& path, QByteArray& data, QString* error = nullptr) const override;
    bool writeFile(const QString& path, const QByteArray& data, QString* error = nullptr) override;
    std::unique_ptr<QIODevice> openFile(const QString& path, QString* error = nullptr) const override;
    std::unique_ptr<StagedFile> stageFile(const QString& path, QString* error = nullptr) override;
    qint64 freeSpace(const QString& path) const override;
};
