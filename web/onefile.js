// Writes the one-file page: index.html with its scripts inlined, the module
// that carries its WebAssembly in place of intro.js, and the data file as
// base64, so that the page plays opened from disk with nothing beside it.
//
//    node onefile.js SITE-DIR INTRO-SINGLE.JS OUTPUT.html
'use strict';
const fs = require('fs');
const path = require('path');
const [site, single, output] = process.argv.slice(2);

const inline = (code, name) => {
   if (/<\/script/i.test(code))
      throw new Error(`${name} holds "</script", which would end its inline script`);
   return `<script>\n${code}\n</script>`;
};
const data = fs.readFileSync(path.join(site, 'intro.dat')).toString('base64');
let page = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
for (const name of ['pacing.js', 'intro.js', 'page.js']) {
   const tag = `<script src="${name}"></script>`;
   if (!page.includes(tag))
      throw new Error(`index.html has no ${tag}`);
   let code = fs.readFileSync(name === 'intro.js' ? single : path.join(site, name), 'utf8');
   if (name === 'page.js')
      code = `var introData = "${data}";\n${code}`;
   page = page.replace(tag, () => inline(code, name));
}
fs.writeFileSync(output, page);
