<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ProjectFile</name>
    <message><source>OpenProject</source><comment>Widget</comment><translation>打开工程</translation></message>
    <message><source>Loading</source><comment>Widget</comment><translation>加载中...</translation></message>
</context>
</TS>
