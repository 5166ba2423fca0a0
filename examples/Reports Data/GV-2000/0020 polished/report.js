// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 20,
  reportType: "RT_POLISH",
  dateTime: "2025-06-26 20:20:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.90 ct"],
    ["Measurements", "7.10 × 7.14 × 4.40 mm"],
    ["Colour grade", "D"],
    ["Clarity grade", "VVS2"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
