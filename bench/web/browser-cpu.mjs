// CPU seconds of a browser's processes (the one started as browserPid and
// all below it), in all, by kind: the process's --type= (a utility by its
// sub-type), "browser" for the first, and by kind and thread name
// ("renderer/DedicatedWorker", the threads of one name added up). Linux only:
// read from /proc. A thread that ends takes its time with it.
import fs from "node:fs";

const kPerSecond = 100;  // USER_HZ on Linux

// A /proc stat line's name (between the parentheses), parent and CPU ticks.
function readStat(path) {
  const stat = fs.readFileSync(path, "utf8");
  const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
  return { name: stat.slice(stat.indexOf("(") + 1, stat.lastIndexOf(")")),
           parent: Number(fields[1]), cpu: Number(fields[11]) + Number(fields[12]) };
}

function processes() {
  const all = new Map();
  for (const pid of fs.readdirSync("/proc").filter(name => /^\d+$/.test(name))) {
    try {
      all.set(Number(pid), readStat(`/proc/${pid}/stat`));
    } catch {}  // ended while we looked
  }
  return all;
}

// Each thread's CPU ticks by its name.
function threadsOf(pid) {
  const names = {};
  try {
    for (const tid of fs.readdirSync(`/proc/${pid}/task`)) {
      try {
        const { name, cpu } = readStat(`/proc/${pid}/task/${tid}/stat`);
        names[name] = (names[name] || 0) + cpu;
      } catch {}
    }
  } catch {}
  return names;
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
  const kinds = {}, threads = {};
  for (const [pid, { cpu }] of all) {
    if (!inTree(pid)) continue;
    total += cpu / kPerSecond;
    const kind = kindOf(pid);
    kinds[kind] = (kinds[kind] || 0) + cpu / kPerSecond;
    for (const [name, ticks] of Object.entries(threadsOf(pid))) {
      const key = `${kind}/${name}`;
      threads[key] = (threads[key] || 0) + ticks / kPerSecond;
    }
  }
  return { total, kinds, threads };
}
