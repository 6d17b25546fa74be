#include "cli/help_text.h"

#include "cli/messages.h"

namespace cli {

std::string HelpText() {
  return Tr(
      "用法:\n"
      "  tonvara-cli convert [-f mp3|wav|wma|ogg|vox] [-o 目录] [--normalize] [--fade-in 秒] [--fade-out 秒]\n"
      "                      [--title 标题] [--artist 艺术家] [--album 专辑] [--year 年份] [--genre 流派]\n"
      "                      [-j N] [--config 文件] 文件|文件夹...\n"
      "  tonvara-cli info [--json] 文件|文件夹...\n"
      "  tonvara-cli tags [--json] 文件...\n"
      "  tonvara-cli --help | --version\n"
      "\n"
      "convert   把文件转换为所选格式, 写入输出目录; 已有的文件不会被覆盖, 而是换用编号的名称.\n"
      "  -f       输出格式 (默认: 设置文件中的 [Format] int)\n"
      "  -o       输出目录 (默认: 设置文件中的 [Format] Dir)\n"
      "  --normalize      写入音量规范化的副本 \"Nor_...\" (目标: [Nor] vol)\n"
      "  --fade-in 秒, --fade-out 秒   淡入、淡出 1..20 秒, 0 为关闭 (默认: [Fade])\n"
      "  --title 等       为每个文件写入这些标签, 如同标签编辑器中的 \"全部\"\n"
      "  -j N     同时转换 N 个文件 (默认: 处理器核数)\n"
      "  --config 文件    使用另一个设置文件; 命令行程序从不写入设置文件\n"
      "info      显示每个文件的频率、声道、时间、大小和标签.\n"
      "tags      显示每个文件本身的标签.\n"
      "  --json   以 JSON 数组输出\n"
      "\n"
      "文件夹参数添加其中的 MP3、WAV、OGG、WMA、RM 和 VOX 文件 (不含子文件夹), 按名称排序.\n"
      "退出状态: 0 全部成功; 1 有文件失败或不被支持 (其余文件照常处理); 2 用法错误.\n"
      "设置文件: $XDG_CONFIG_HOME/tonvara/tonvara.ini (或 ~/.config/tonvara/tonvara.ini).\n"
      "在非中文的语言环境 (例如 LANG=C) 下, 信息以英文显示.\n",
      "Usage:\n"
      "  tonvara-cli convert [-f mp3|wav|wma|ogg|vox] [-o DIR] [--normalize] [--fade-in SEC] [--fade-out SEC]\n"
      "                      [--title T] [--artist A] [--album A] [--year Y] [--genre G]\n"
      "                      [-j N] [--config FILE] FILE|FOLDER...\n"
      "  tonvara-cli info [--json] FILE|FOLDER...\n"
      "  tonvara-cli tags [--json] FILE...\n"
      "  tonvara-cli --help | --version\n"
      "\n"
      "convert   converts the files to the chosen format into the output folder; an existing\n"
      "          file is never overwritten, a numbered name is chosen instead.\n"
      "  -f       output format (default: [Format] int of the settings file)\n"
      "  -o       output folder (default: [Format] Dir)\n"
      "  --normalize      writes level-normalized copies \"Nor_...\" (target: [Nor] vol)\n"
      "  --fade-in SEC, --fade-out SEC   fades of 1..20 seconds, 0 for none (default: [Fade])\n"
      "  --title etc.     these tags for every file, as the tag editor's \"all\" buttons give them\n"
      "  -j N     converts N files at once (default: the number of cores)\n"
      "  --config FILE    reads another settings file; the command line never writes settings\n"
      "info      shows each file's sample rate, channels, duration, size and tags.\n"
      "tags      shows the tags stored in each file.\n"
      "  --json   prints a JSON array\n"
      "\n"
      "A folder adds its MP3, WAV, OGG, WMA, RM and VOX files (no subfolders), in name order.\n"
      "Exit status: 0 all succeeded; 1 a file failed or is not supported (the others are still\n"
      "done); 2 usage error.\n"
      "Settings file: $XDG_CONFIG_HOME/tonvara/tonvara.ini (or ~/.config/tonvara/tonvara.ini).\n"
      "Messages are Chinese under a Chinese locale and English under any other (LANG=C).\n");
}

std::string VersionText() { return std::string("tonvara-cli ") + TONVARA_VERSION + "\n"; }

std::string UsageHint() {
  return Tr("请运行 \"tonvara-cli --help\" 查看用法.", "Try \"tonvara-cli --help\" for more information.");
}

}  // namespace cli
