// CPU seconds of a browser's processes (the one started as browserPid and
// all below it), in all and by kind: the process's --type= (a utility by its
// sub-type), "browser" for the first. Linux only: read from /proc.
import fs from "node:fs";

const kPerSecond = 100;  // USER_HZ on Linux

function processes() {
  const all = new Map();
  for (const pid of fs.readdirSync("/proc").filter(name => /^\d+$/.test(name))) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, "utf8");
      const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      all.set(Number(pid), { parent: Number(fields[1]), cpu: Number(fields[11]) + Number(fields[12]) });
    } catch {}  // ended while we looked
  }
  return all;
}

function kindOf(pid) {
  try {
    const line = fs.readFileSync(`/proc/${pid}/cmdline`, "utf8");
    const kind = /--type=([a-z-]+)/.exec(line)?.[1] ?? "browser";
    return kind === "utility" ? /--utility-sub-type=([a-z.]+)/.exec(line)?.[1] ?? kind : kind;
  } catch {
    return "browser";
  }
}

export function browserCpu(browserPid) {
  const all = processes();
  const inTree = pid => {
    for (let p = pid; p > 1; p = all.get(p)?.parent ?? 0) if (p === browserPid) return true;
    return false;
  };
  let total = 0;
  const kinds = {};
  for (const [pid, { cpu }] of all) {
    if (!inTree(pid)) continue;
    total += cpu / kPerSecond;
    const kind = kindOf(pid);
    kinds[kind] = (kinds[kind] || 0) + cpu / kPerSecond;
  }
  return { total, kinds };
}
